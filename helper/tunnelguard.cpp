#include "helper/tunnelguard.h"

#include "helper/dnscommands.h"
#include "helper/ipv6block.h"
#include "helper/resolvconffile.h"
#include "helper/systemprogram.h"
#include "helper/tunneldns.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr int CommandMs = 10000;

} // namespace

const QString TunnelGuard::Device = QStringLiteral("ksvpn_tun");

namespace {

// Files in the state folder that say what a tunnel changed, for whoever takes it back.
const QString ResolvconfMark = QStringLiteral("resolvconf.record");
const QString ResolvedMark = QStringLiteral("resolved.link");
const QString Ipv6Mark = QStringLiteral("ipv6.blocked");

} // namespace

TunnelGuard::TunnelGuard()
    : TunnelGuard(Places {})
{ }

TunnelGuard::TunnelGuard(const Places &places)
    : m_places(places)
{ }

bool TunnelGuard::run(const QString &program, const QStringList &arguments, const QByteArray &input,
                      QString *error) const
{
    const SystemProgram::Result result
        = SystemProgram::run(program, arguments, input, CommandMs, SystemProgram::Errors::Merge);
    if (result.ok)
        return true;
    *error = QStringLiteral("%1 %2 failed: %3")
                 .arg(QFileInfo(program).fileName(), arguments.join(QLatin1Char(' ')),
                      result.failure.isEmpty() ? QString::fromLocal8Bit(result.output).trimmed()
                                               : result.failure);
    return false;
}

bool TunnelGuard::mark(const QString &name, QStringList *log) const
{
    QFile file(m_places.stateFolder + QLatin1Char('/') + name);
    if (QDir().mkpath(m_places.stateFolder) && file.open(QIODevice::WriteOnly))
        return true;
    *log << QStringLiteral("cannot write %1").arg(file.fileName());
    return false;
}

bool TunnelGuard::marked(const QString &name) const
{
    return QFileInfo::exists(m_places.stateFolder + QLatin1Char('/') + name);
}

void TunnelGuard::unmark(const QString &name) const
{
    QFile::remove(m_places.stateFolder + QLatin1Char('/') + name);
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
        if (!mark(ResolvedMark, log))
            return false;
        for (const QStringList &call : DnsCommands::resolvedUp(Device, dns)) {
            if (!run(m_places.resolvectl, call, {}, &error)) {
                *log << error;
                return false;
            }
        }
        *log << QStringLiteral("DNS through systemd-resolved on %1: %2").arg(Device, servers);
        return true;
    case DnsCommands::Resolvconf:
        if (!mark(ResolvconfMark, log))
            return false;
        if (!run(m_places.resolvconf, DnsCommands::resolvconfUp(), ResolvConfFile::render(dns),
                 &error)) {
            *log << error;
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
    QString error;
    // Marked before each step, so that a step cut short is still taken back.
    const bool ok = applyDns(environment, log)
        && (TunnelDns::carriesIpv6(environment)
            || (mark(Ipv6Mark, log)
                && run(m_places.nft, {QStringLiteral("-f"), QStringLiteral("-")},
                       Ipv6Block::ruleset(Device), &error)));
    if (!error.isEmpty())
        *log << error;
    if (!ok) {
        down(log);
        return false;
    }
    if (marked(Ipv6Mark))
        *log << QStringLiteral("the tunnel carries no IPv6: IPv6 outside it is blocked");
    return true;
}

bool TunnelGuard::forget(const QString &name, const QString &program, QStringList *log) const
{
    if (QFileInfo(program).isExecutable())
        return false;
    // Nothing here could have been set up without the program either: the mark is stale.
    unmark(name);
    *log << QStringLiteral("%1 dropped: %2 is not there to take it back").arg(name, program);
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
    if (marked(ResolvconfMark) && !forget(ResolvconfMark, m_places.resolvconf, log)) {
        const bool removed = run(m_places.resolvconf, DnsCommands::resolvconfDown(), {}, &error);
        *log << (removed ? QStringLiteral("resolvconf record removed") : error);
        ok = ok && removed;
        if (removed)
            unmark(ResolvconfMark);
    }
    // The link's settings go with its device; resolvectl fails for a device already gone,
    // which leaves nothing behind either.
    if (marked(ResolvedMark)) {
        run(m_places.resolvectl, DnsCommands::resolvedDown(Device), {}, &error);
        unmark(ResolvedMark);
    }
    if (marked(Ipv6Mark) && !forget(Ipv6Mark, m_places.nft, log)) {
        const bool removed = run(m_places.nft, {QStringLiteral("-f"), QStringLiteral("-")},
                                 Ipv6Block::removal(), &error);
        *log << (removed ? QStringLiteral("IPv6 unblocked") : error);
        ok = ok && removed;
        if (removed)
            unmark(Ipv6Mark);
    }
    return ok;
}
