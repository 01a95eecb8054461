#include "engine/openvpnseries.h"

#include "buildconfig.h"

QStringList OpenVpnSeries::configured()
{
    return QString::fromLatin1(BuildConfig::OpenVpnSeries)
        .split(QLatin1Char(','), Qt::SkipEmptyParts);
}

bool OpenVpnSeries::accepts(const QString &version, const QStringList &series,
                            VPNProcess::VPNProcessMode *mode)
{
    for (const QString &accepted : series) {
        if (accepted.isEmpty() || !version.startsWith(accepted))
            continue;
        if (mode)
            *mode = accepted == QLatin1String("2.3") ? VPNProcess::PM_OpenVPN23
                                                     : VPNProcess::PM_OpenVPN24;
        return true;
    }
    return false;
}

OpenVpnConfigText::LongLines OpenVpnSeries::longLines(const QString &version)
{
    const bool cuts
        = version.startsWith(QLatin1String("2.3")) || version.startsWith(QLatin1String("2.4"));
    return cuts ? OpenVpnConfigText::LongLines::Split : OpenVpnConfigText::LongLines::Refuse;
}
