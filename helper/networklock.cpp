#include "helper/networklock.h"

#include "engine/openvpnconfigtext.h"
#include "helper/callerfile.h"
#include "helper/hostresolver.h"
#include "helper/lockruleset.h"
#include "helper/ownerfile.h"
#include "helper/systemprogram.h"
#include "helper/tunnelhooks.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

constexpr int ResolveMs = 5000;
constexpr int NftMs = 60000;
constexpr int MaxReported = 20; // entries named one by one; the rest are counted
const char *const ServiceName = "kestrunevpn-netlock.service";

} // namespace

QStringList NetworkLock::remoteHosts(const QByteArray &config)
{
    // Read as OpenVPN reads it; an option the client would not keep takes no server with it.
    const OpenVpnConfigText::Result read = OpenVpnConfigText::rewrite(
        config, OpenVpnConfigText::Unknown::Drop, OpenVpnConfigText::LongLines::Split);
    return OpenVpnConfigText::remoteHosts(read.options);
}

QStringList NetworkLock::mirrorServers(const QByteArray &json, bool *found)
{
    const QJsonValue server
        = QJsonDocument::fromJson(json).object().value(QStringLiteral("server"));
    QStringList servers;
    if (server.isString())
        servers << server.toString();
    for (const QJsonValue &entry : server.toArray()) {
        if (entry.isString())
            servers << entry.toString();
    }
    *found = !servers.isEmpty();
    return servers;
}

QStringList NetworkLock::hostsIn(const HelperContext &context, const QString &tempFolder,
                                 QStringList *problems)
{
    QStringList hosts;
    const auto read = [&](const char *name) {
        const CallerFile::Result file
            = CallerFile::read(tempFolder + QLatin1Char('/') + QLatin1String(name), context.caller,
                               context.callerGroup);
        if (!file.ok && !file.missing && problems)
            problems->append(QStringLiteral("ignored: ") + file.reason);
        return file;
    };
    const CallerFile::Result allow = read("netlock_allow.txt");
    for (const QByteArray &line : allow.bytes.split('\n'))
        hosts << QString::fromUtf8(line);
    hosts << remoteHosts(read("openvpn_config.ovpn").bytes);
    const CallerFile::Result mirror = read("ss_config.json");
    if (mirror.ok) {
        bool found = false;
        hosts << mirrorServers(mirror.bytes, &found);
        if (!found && problems)
            problems->append(QStringLiteral("no mirror server in ss_config.json"));
    }
    return hosts;
}

int NetworkLock::fail(const QString &reason) const
{
    HelperContext::report(reason);
    return 1;
}

bool NetworkLock::runNft(const QStringList &arguments, const QByteArray &input, bool quiet) const
{
    return SystemProgram::run(m_nft, arguments, input, NftMs,
                              quiet ? SystemProgram::Errors::Discard
                                    : SystemProgram::Errors::Forward)
        .ok;
}

bool NetworkLock::tablePresent() const
{
    return runNft({QStringLiteral("list"), QStringLiteral("table"), QStringLiteral("inet"),
                   QLatin1String(LockRuleset::Table)},
                  QByteArray(), true);
}

int NetworkLock::block(const QString &tempFolder)
{
    if (!CallerFile::isFolder(tempFolder, m_context.caller, m_context.callerGroup))
        return fail(QStringLiteral("no such folder: ") + tempFolder);
    m_nft = SystemProgram::nft();
    if (m_nft.isEmpty())
        return fail(QStringLiteral("nft (nftables) is not installed"));

    QStringList problems;
    LockRuleset::Addresses addresses = LockRuleset::vet(hostsIn(m_context, tempFolder, &problems));
    for (const QString &problem : qAsConst(problems))
        HelperContext::report(problem);
    for (const QString &skipped : addresses.skipped.mid(0, MaxReported))
        HelperContext::report(QStringLiteral("ignored: not a host name or address: ") + skipped);
    if (addresses.skipped.size() > MaxReported)
        HelperContext::report(QStringLiteral("ignored: %1 more entries that are not host names "
                                             "or addresses")
                                  .arg(addresses.skipped.size() - MaxReported));
    if (addresses.namesLeftOut > 0)
        HelperContext::report(QStringLiteral("ignored: %1 host names past the first %2; they "
                                             "stay blocked")
                                  .arg(addresses.namesLeftOut)
                                  .arg(LockRuleset::MaxNames));
    const HostResolver::Result resolved = HostResolver::resolve(addresses.names, ResolveMs);
    for (const QString &name : resolved.unresolved)
        HelperContext::report(QStringLiteral("cannot resolve %1; it stays blocked").arg(name));
    const LockRuleset::Addresses found = LockRuleset::vet(resolved.addresses);
    const QByteArray ruleset
        = LockRuleset::render(addresses.v4 + found.v4, addresses.v6 + found.v6);

    ::umask(077);
    const QString state = m_context.lockState();
    const QString fresh = state + QStringLiteral(".new");
    if (!QDir().mkpath(m_context.lockStateFolder))
        return fail(QStringLiteral("cannot create ") + m_context.lockStateFolder);
    if (!OwnerFile::write(fresh, ruleset))
        return fail(QStringLiteral("cannot write ") + fresh);
    if (!runNft({QStringLiteral("-f"), fresh})) {
        OwnerFile::remove(fresh);
        return fail(QStringLiteral("nftables refused the lock; nothing was changed"));
    }
    // The lock is in force now; one that would not come back after a restart is taken off.
    if (std::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(state).constData())
        != 0) {
        runNft({QStringLiteral("-f"), QStringLiteral("-")}, LockRuleset::removal());
        OwnerFile::remove(fresh);
        return fail(
            QStringLiteral("cannot save the lock in %1; the lock was taken off again").arg(state));
    }
    const QString systemctl = SystemProgram::find(
        {QStringLiteral("/usr/bin/systemctl"), QStringLiteral("/bin/systemctl")});
    if (!systemctl.isEmpty() && QFileInfo(QStringLiteral("/run/systemd/system")).isDir()) {
        const QStringList isEnabled {QStringLiteral("is-enabled"), QStringLiteral("--quiet"),
                                     QLatin1String(ServiceName)};
        if (!SystemProgram::run(systemctl, isEnabled, QByteArray(), NftMs,
                                SystemProgram::Errors::Discard)
                 .ok)
            HelperContext::report(
                QStringLiteral("%1 is not enabled; the lock ends at the next restart")
                    .arg(QLatin1String(ServiceName)));
    }
    return 0;
}

int NetworkLock::unblock()
{
    m_nft = SystemProgram::nft();
    if (m_nft.isEmpty())
        return fail(QStringLiteral("nft (nftables) is not installed"));
    if (!runNft({QStringLiteral("-f"), QStringLiteral("-")}, LockRuleset::removal()))
        return fail(QStringLiteral("nftables refused to remove table inet %1; the lock is still on")
                        .arg(QLatin1String(LockRuleset::Table)));
    const QString state = m_context.lockState();
    if (!OwnerFile::remove(state) || !OwnerFile::remove(state + QStringLiteral(".new")))
        return fail(QStringLiteral("the lock is off now, but %1 remains and would lock the "
                                   "network at the next start")
                        .arg(state));
    return 0;
}

int NetworkLock::emergency()
{
    // What a tunnel left on the network (its name servers, the IPv6 block) comes off too.
    TunnelHooks(m_context).restore();
    const QString state = m_context.lockState();
    if (!OwnerFile::remove(state) || !OwnerFile::remove(state + QStringLiteral(".new")))
        HelperContext::report(QStringLiteral("cannot remove ") + state);
    m_nft = SystemProgram::nft();
    if (m_nft.isEmpty())
        return fail(QStringLiteral("nft (nftables) is not installed"));
    runNft({QStringLiteral("-f"), QStringLiteral("-")}, LockRuleset::removal());
    if (tablePresent())
        return fail(
            QStringLiteral("table inet %1 is still there").arg(QLatin1String(LockRuleset::Table)));
    if (QFileInfo::exists(state) || QFileInfo(state).isSymLink())
        return fail(state + QStringLiteral(" is still there"));
    return 0;
}
