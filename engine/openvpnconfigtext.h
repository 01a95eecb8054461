#pragma once

#include "engine/openvpnoption.h"

#include <vector>

#include <QByteArray>
#include <QString>
#include <QStringList>

// What OpenVPN is handed is text this program wrote: the configuration is read as OpenVPN
// reads it, every option is checked against the table of client options the program allows,
// and the kept options are written out anew. The bytes that came in never reach OpenVPN.
namespace OpenVpnConfigText {

// OpenVPN 2.3 and 2.4 cut lines into 255-byte pieces and read each piece as a line of its
// own; 2.6 does not, and such a file is refused.
enum class LongLines { Split, Refuse };
// The client drops an option outside the table and logs its name; the privileged helper
// refuses the whole configuration instead.
enum class Unknown { Drop, Refuse };

struct Result
{
    bool ok = false;
    QByteArray text; // the written configuration when ok
    QString reason; // why it was refused, when not ok
    QStringList removed; // names of the dropped options (Unknown::Drop)
    // What was kept and written, in order (when ok).
    std::vector<OpenVpnOption> options;
    // How many lines were dropped because they hold a zero byte (Unknown::Drop).
    int zeroByteLines = 0;
};

Result rewrite(const QByteArray &config, Unknown unknown, LongLines longLines);

// The hosts OpenVPN may connect to: of every "remote" option, in the order given, also
// inside connection blocks; and of the proxies it goes through. From the options of a
// successful rewrite(), so every one has the shape of a host name or address.
QStringList remoteHosts(const std::vector<OpenVpnOption> &options);
QStringList proxyHosts(const std::vector<OpenVpnOption> &options);

} // namespace OpenVpnConfigText
