#include "engine/openvpnseries.h"

#include "buildconfig.h"

#include <QCoreApplication>

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

QString OpenVpnSeries::refusalText(const QString &version, const QStringList &series)
{
    // The builds that accept 2.3 and 2.4 keep the wording their users know, translated.
    if (series == QStringList {QStringLiteral("2.3"), QStringLiteral("2.4")})
        return QCoreApplication::translate("MainWindow",
                                           "Installed OpenVPN version (%0) incompatible with "
                                           "app.<br>Please install OpenVPN 2.3.x or 2.4.x.")
            .arg(version);
    QStringList names;
    for (const QString &accepted : series)
        names << accepted + QStringLiteral(".x");
    return QCoreApplication::translate("MainWindow",
                                       "Installed OpenVPN version (%0) incompatible with "
                                       "app.<br>Please install OpenVPN of one of these series: "
                                       "%1.")
        .arg(version, names.join(QStringLiteral(", ")));
}
