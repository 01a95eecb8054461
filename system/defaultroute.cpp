#include "system/defaultroute.h"

#include <QList>

namespace DefaultRoute {

State fromProcTables(const QByteArray &ipv4, const QByteArray &ipv6)
{
    if (ipv4.isEmpty() && ipv6.isEmpty())
        return State::Unknown;
    // Iface Destination Gateway Flags RefCnt Use Metric Mask ...
    const QList<QByteArray> lines4 = ipv4.split('\n');
    for (int i = 1; i < lines4.size(); ++i) {
        const QList<QByteArray> f = lines4.at(i).simplified().split(' ');
        if (f.size() >= 8 && f.at(1) == "00000000" && f.at(7) == "00000000")
            return State::Present;
    }
    // Destination PrefixLength Source SourcePrefix NextHop Metric RefCnt Use Flags Iface; the
    // loopback's own entries ("lo") are no way out.
    for (const QByteArray &line : ipv6.split('\n')) {
        const QList<QByteArray> f = line.simplified().split(' ');
        if (f.size() >= 10 && f.at(0) == QByteArray(32, '0') && f.at(1) == "00" && f.at(9) != "lo")
            return State::Present;
    }
    return State::Missing;
}

} // namespace DefaultRoute
