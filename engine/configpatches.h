#pragma once

#include "engine/mirrorendpoint.h"
#include "engine/openvpnconfigtext.h"

#include <QByteArray>
#include <QString>

// The client's additions to a downloaded OpenVPN configuration. Each takes the whole
// configuration (Latin-1, read up to its first zero byte) and returns the new one.

// The device type the service chose is kept ("dev " becomes "dev-type "), and the device is
// always the client's own adapter, named in a block at the end.
QByteArray patchDevice(const QByteArray &config);

// Sends OpenVPN through the mirror tool's local SOCKS proxy. An endpoint that is not usable
// is read again from `ssConfigPath`; when neither is usable the result is empty, so that
// OpenVPN cannot connect around the mirror.
QByteArray patchMirror(const QByteArray &config, const QString &ssConfigPath,
                       const MirrorEndpoint &endpoint);

// The DNS protection choice adds nothing to the configuration yet.
QByteArray patchDNS(const QByteArray &config, const QString &appDir, const QString &tempDir);

// The completed configuration written anew from the options in it that the table of allowed
// options holds (OpenVpnConfigText), read last, as the installed OpenVPN reads exactly these
// bytes: the patches change line lengths and with them where OpenVPN 2.3 and 2.4 cut long
// lines. Each dropped option is logged by name. A configuration that cannot be read, or that
// lost the device lines at its end, is discarded (empty).
QByteArray removeUnsafeLines(const QByteArray &config, OpenVpnConfigText::LongLines longLines);

// The name of the client's virtual network adapter, created by the installer.
QString staticDeviceName();
