#pragma once

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
    QByteArray text;    // the written configuration when ok
    QString reason;     // why it was refused, when not ok
    QStringList removed; // names of the dropped options (Unknown::Drop)
};

Result rewrite(const QByteArray &config, Unknown unknown, LongLines longLines);

} // namespace OpenVpnConfigText
