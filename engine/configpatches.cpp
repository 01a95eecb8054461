#include "engine/configpatches.h"

#include "core/loger.h"

#include <QObject>

namespace {

QString deviceBlock()
{
    return QStringLiteral("\n# Kestrune VPN (desktop): static device name\ndev %1\n")
        .arg(staticDeviceName());
}

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
    text += deviceBlock();
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
    // OpenVPN skips a byte-order mark on the first line only; behind the block it would be
    // part of an option name.
    QString text = latin1Text(config);
    if (text.startsWith(QLatin1String("\xEF\xBB\xBF")))
        text.remove(0, 3);
    return (block + text).toLatin1();
}

QByteArray patchDNS(const QByteArray &config, const QString &appDir, const QString &tempDir)
{
    Q_UNUSED(appDir)
    Q_UNUSED(tempDir)
    return config;
}

QByteArray removeUnsafeLines(const QByteArray &config, OpenVpnConfigText::LongLines longLines)
{
    if (config.isEmpty())
        return config;
    const OpenVpnConfigText::Result result
        = OpenVpnConfigText::rewrite(config, OpenVpnConfigText::Unknown::Drop, longLines);
    // Each name once: a text of many pieces of one long line would flood the log.
    QStringList removed = result.removed;
    removed.removeDuplicates();
    for (const QString &name : qAsConst(removed))
        Loger::writeLine(
            QObject::tr("[9]: removed directive \"%1\" from the downloaded configuration")
                .arg(name));
    for (int i = 0; i < result.zeroByteLines; ++i)
        Loger::writeLine(QObject::tr("[9]: removed a line containing a zero byte from the "
                                     "downloaded configuration"));
    // The device lines come last: a configuration that lost them would use another adapter.
    const QByteArray deviceLine = "\ndev " + staticDeviceName().toLatin1() + '\n';
    if (result.ok && result.text.endsWith(deviceLine))
        return result.text;
    if (!result.ok)
        Loger::writeLine(QObject::tr("[9]: the configuration was refused: %1").arg(result.reason));
    Loger::writeLine(QObject::tr("[9]: the downloaded configuration could not be made safe and "
                                 "was discarded"));
    return QByteArray();
}
