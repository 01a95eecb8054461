#include "engine/configpatches.h"

namespace {

QString latin1Text(const QByteArray &config)
{
    const int zero = config.indexOf('\0');
    return QString::fromLatin1(zero < 0 ? config : config.left(zero));
}

} // namespace

QString staticDeviceName()
{
    return QStringLiteral("ksvpn_tun");
}

QByteArray patchDevice(const QByteArray &config)
{
    QString text = latin1Text(config);
    text.replace(QLatin1String("dev "), QLatin1String("dev-type "));
    text += QStringLiteral("\n# Kestrune VPN (desktop): static device name\ndev %1\n")
                .arg(staticDeviceName());
    return text.toLatin1();
}

QByteArray patchMirror(const QByteArray &config, const QString &ssConfigPath,
                       const MirrorEndpoint &endpoint)
{
    MirrorEndpoint mirror = endpoint;
    if (!mirror.isUsable())
        mirror = readSsConfig(ssConfigPath);
    if (!mirror.isUsable())
        return QByteArray();
    const QString block = QStringLiteral("\n# Kestrune VPN (desktop): mirror config\n"
                                         "socks-proxy-retry\n"
                                         "socks-proxy %1 %2\n"
                                         "route %3 255.255.255.255 net_gateway\n")
                              .arg(mirror.localAddress)
                              .arg(mirror.localPort)
                              .arg(mirror.serverAddress);
    return (block + latin1Text(config)).toLatin1();
}

QByteArray patchDNS(const QByteArray &config, const QString &appDir, const QString &tempDir)
{
    Q_UNUSED(appDir)
    Q_UNUSED(tempDir)
    return config;
}
