#include "helper/tunnelguard.h"

#include "helper/dnscommands.h"
#include "helper/ipv6block.h"
#include "helper/resolvconffile.h"
#include "helper/tunneldns.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace {

constexpr int CommandMs = 10000;

} // namespace

const QString TunnelGuard::Device = QStringLiteral("ksvpn_tun");

TunnelGuard::TunnelGuard()
    : TunnelGuard(Places {})
{
}

TunnelGuard::TunnelGuard(const Places &places)
    : m_places(places)
{
}

QString TunnelGuard::resolvconfMark() const
{
    return m_places.stateFolder + QStringLiteral("/resolvconf.record");
}

bool TunnelGuard::run(const QString &program, const QStringList &arguments,
                      const QByteArray &input, QString *error) const
{
    QProcess process;
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("PATH"), QStringLiteral("/usr/sbin:/usr/bin:/sbin:/bin"));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (process.waitForStarted(CommandMs)) {
        process.write(input);
        process.closeWriteChannel();
        if (process.waitForFinished(CommandMs) && process.exitStatus() == QProcess::NormalExit
            && process.exitCode() == 0)
            return true;
    }
    process.kill();
    process.waitForFinished(CommandMs);
    *error = QStringLiteral("%1 %2 failed: %3")
                 .arg(QFileInfo(program).fileName(), arguments.join(QLatin1Char(' ')),
                      process.error() == QProcess::UnknownError
                          ? QString::fromLocal8Bit(process.readAll()).trimmed()
                          : process.errorString());
    return false;
}

bool TunnelGuard::applyDns(const QMap<QString, QString> &environment, QStringList *log)
{
    const TunnelDns dns = TunnelDns::fromEnvironment(environment);
    for (const QString &entry : dns.skipped)
        *log << QStringLiteral("skipped %1").arg(entry);
    if (dns.isEmpty()) {
        *log << QStringLiteral("the tunnel names no DNS server; the system's resolver stays");
        return true;
    }
    const QString servers = dns.servers.join(QLatin1Char(' '));
    QString error;
    switch (DnsCommands::manager(QFileInfo(m_places.resolvConf).canonicalFilePath(),
                                 QFileInfo(m_places.resolvedRuntime).isDir(),
                                 QFileInfo(m_places.resolvconf).isExecutable())) {
    case DnsCommands::Resolved:
        for (const QStringList &call : DnsCommands::resolvedUp(Device, dns)) {
            if (!run(m_places.resolvectl, call, {}, &error)) {
                *log << error;
                run(m_places.resolvectl, DnsCommands::resolvedDown(Device), {}, &error);
                return false;
            }
        }
        *log << QStringLiteral("DNS through systemd-resolved on %1: %2").arg(Device, servers);
        return true;
    case DnsCommands::Resolvconf:
        if (!QDir().mkpath(m_places.stateFolder) || !QFile(resolvconfMark()).open(QIODevice::WriteOnly)
            || !run(m_places.resolvconf, DnsCommands::resolvconfUp(), ResolvConfFile::render(dns),
                    &error)) {
            *log << (error.isEmpty() ? QStringLiteral("cannot write %1").arg(resolvconfMark())
                                     : error);
            QFile::remove(resolvconfMark());
            return false;
        }
        *log << QStringLiteral("DNS through resolvconf: %1").arg(servers);
        return true;
    case DnsCommands::ResolvConf:
        break;
    }
    ResolvConfFile file(m_places.resolvConf, m_places.stateFolder);
    if (!file.apply(dns, &error)) {
        *log << error;
        return false;
    }
    *log << QStringLiteral("DNS in %1: %2").arg(m_places.resolvConf, servers);
    return true;
}

bool TunnelGuard::up(const QMap<QString, QString> &environment, QStringList *log)
{
    if (!applyDns(environment, log))
        return false;
    if (TunnelDns::carriesIpv6(environment))
        return true;
    QString error;
    if (!run(m_places.nft, {QStringLiteral("-f"), QStringLiteral("-")},
             Ipv6Block::ruleset(Device), &error)) {
        *log << error;
        QStringList ignored;
        down(&ignored);
        return false;
    }
    *log << QStringLiteral("the tunnel carries no IPv6: IPv6 outside it is blocked");
    return true;
}

bool TunnelGuard::down(QStringList *log)
{
    bool ok = true;
    QString error;
    ResolvConfFile file(m_places.resolvConf, m_places.stateFolder);
    if (file.holdsOriginal()) {
        ok = file.restore(&error);
        *log << (ok ? QStringLiteral("%1 put back").arg(m_places.resolvConf) : error);
    }
    if (QFileInfo::exists(resolvconfMark())) {
        const bool removed = run(m_places.resolvconf, DnsCommands::resolvconfDown(), {}, &error);
        *log << (removed ? QStringLiteral("resolvconf record removed") : error);
        ok = removed && QFile::remove(resolvconfMark()) && ok;
    }
    // The link's settings go with the device; a device still there is reverted, a missing
    // one makes resolvectl fail, which means nothing is left.
    if (QFileInfo(m_places.resolvedRuntime).isDir() && QFileInfo(m_places.resolvectl).isExecutable())
        run(m_places.resolvectl, DnsCommands::resolvedDown(Device), {}, &error);
    if (!run(m_places.nft, {QStringLiteral("-f"), QStringLiteral("-")}, Ipv6Block::removal(),
             &error)) {
        *log << error;
        ok = false;
    }
    return ok;
}
