#pragma once

#include "engine/openvpnconfigtext.h"
#include "engine/vpnprocess.h"

#include <QString>
#include <QStringList>

// Which installed OpenVPN the client works with: a version is accepted when it starts with
// one of the release series the program was configured with ("2.3", "2.4", ...).
namespace OpenVpnSeries {

// The series fixed when the program was configured.
QStringList configured();

// True when `version` belongs to one of `series`; `mode` then receives the management mode:
// PM_OpenVPN23 for the 2.3 series, PM_OpenVPN24 for every later one.
bool accepts(const QString &version, const QStringList &series, VPNProcess::VPNProcessMode *mode);

// How `version` reads a line longer than its line buffer: 2.3 and 2.4 cut it into pieces,
// later versions refuse the file.
OpenVpnConfigText::LongLines longLines(const QString &version);

// The refusal shown for an installed `version` outside `series`: it names the series this
// build accepts.
QString refusalText(const QString &version, const QStringList &series);

} // namespace OpenVpnSeries
