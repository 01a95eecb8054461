#include "helper/netlockselftest.h"

#include "helper/callerfile.h"
#include "helper/lockruleset.h"
#include "helper/networklock.h"
#include "helper/systemprogram.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <netinet/icmp6.h>
#include <netinet/in.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkInterface>
#include <QRegularExpression>
#include <QSet>
#include <QThread>

namespace {

constexpr int NftMs = 30000;
constexpr int TcpSettleMs = 300;

void print(char check, bool passed, const QString &detail)
{
    QByteArray line = detail.toUtf8();
    for (char &c : line) {
        if (static_cast<unsigned char>(c) < 0x20)
            c = ' ';
    }
    std::printf("%c %s %s\n", check, passed ? "PASS" : "FAIL", line.constData());
    std::fflush(stdout);
}

// The table's parts without what changes by itself (handles, counter values), one compact
// JSON text each; sets by name with their elements.
struct Parts
{
    QStringList objects;
    QHash<QString, QSet<QString>> sets;
};

QJsonValue withoutVolatile(const QJsonValue &value)
{
    if (value.isArray()) {
        QJsonArray out;
        for (const QJsonValue &entry : value.toArray())
            out.append(withoutVolatile(entry));
        return out;
    }
    if (!value.isObject())
        return value;
    QJsonObject out;
    const QJsonObject in = value.toObject();
    for (auto it = in.begin(); it != in.end(); ++it) {
        if (it.key() == QLatin1String("handle"))
            continue;
        out.insert(it.key(),
                   it.key() == QLatin1String("counter") ? QJsonValue()
                                                        : withoutVolatile(it.value()));
    }
    return out;
}

Parts partsOf(const QByteArray &json, bool *ok)
{
    Parts parts;
    const QJsonArray items = QJsonDocument::fromJson(json).object().value("nftables").toArray();
    *ok = !items.isEmpty();
    for (const QJsonValue &item : items) {
        const QJsonObject object = item.toObject();
        if (object.contains(QLatin1String("metainfo")))
            continue;
        if (object.contains(QLatin1String("set"))) {
            QJsonObject set = object.value(QLatin1String("set")).toObject();
            const QJsonValue elements = set.take(QLatin1String("elem"));
            QSet<QString> &members = parts.sets[set.value(QLatin1String("name")).toString()];
            const QJsonArray list = elements.isArray() ? elements.toArray() : QJsonArray {elements};
            for (const QJsonValue &element : list) {
                if (!element.isNull())
                    members.insert(element.isString()
                                       ? element.toString()
                                       : QString::fromUtf8(QJsonDocument(QJsonArray {element})
                                                               .toJson(QJsonDocument::Compact)));
            }
            parts.objects << QString::fromUtf8(
                QJsonDocument(QJsonObject {{"set", withoutVolatile(set)}})
                    .toJson(QJsonDocument::Compact));
            continue;
        }
        parts.objects << QString::fromUtf8(
            QJsonDocument(withoutVolatile(object).toObject()).toJson(QJsonDocument::Compact));
    }
    return parts;
}

// What a rule or chain is, in a few words, for a message.
QString shortly(const QString &object)
{
    return object.size() > 160 ? object.left(157) + QStringLiteral("...") : object;
}

struct Probe
{
    QString what;
    int family;
    int type;
    int protocol;
    QString address;
    quint16 port;
};

bool fillAddress(const Probe &probe, sockaddr_storage *storage, socklen_t *length)
{
    std::memset(storage, 0, sizeof *storage);
    const QByteArray text = probe.address.toLatin1();
    if (probe.family == AF_INET) {
        auto *in = reinterpret_cast<sockaddr_in *>(storage);
        in->sin_family = AF_INET;
        in->sin_port = htons(probe.port);
        *length = sizeof *in;
        return ::inet_pton(AF_INET, text.constData(), &in->sin_addr) == 1;
    }
    auto *in6 = reinterpret_cast<sockaddr_in6 *>(storage);
    in6->sin6_family = AF_INET6;
    in6->sin6_port = htons(probe.port);
    *length = sizeof *in6;
    return ::inet_pton(AF_INET6, text.constData(), &in6->sin6_addr) == 1;
}

enum class Outcome { Refused, Sent, NoRoute };

// Sends one packet of the probe out through `device` (empty: wherever the routes say).
// UDP and ICMP learn of a drop in the output hook at once (EPERM); a TCP connect does not,
// so its SYN counts as refused when the lock's drop counter grew meanwhile.
Outcome sendProbe(const Probe &probe, const QString &device, const std::function<qint64()> &dropped)
{
    sockaddr_storage address;
    socklen_t length = 0;
    if (!fillAddress(probe, &address, &length))
        return Outcome::NoRoute;
    const int fd
        = ::socket(probe.family, probe.type | SOCK_NONBLOCK | SOCK_CLOEXEC, probe.protocol);
    if (fd < 0)
        return Outcome::NoRoute;
    const QByteArray name = device.toLatin1();
    if (!device.isEmpty()
        && ::setsockopt(fd, SOL_SOCKET, SO_BINDTODEVICE, name.constData(), socklen_t(name.size()))
            != 0) {
        ::close(fd);
        return Outcome::NoRoute;
    }
    Outcome outcome = Outcome::Sent;
    if (probe.type == SOCK_STREAM) {
        const qint64 before = dropped();
        if (::connect(fd, reinterpret_cast<sockaddr *>(&address), length) != 0
            && errno != EINPROGRESS)
            outcome = errno == EPERM ? Outcome::Refused : Outcome::NoRoute;
        else {
            QThread::msleep(TcpSettleMs);
            outcome = dropped() > before ? Outcome::Refused : Outcome::Sent;
        }
    } else {
        unsigned char packet[8] = {0};
        size_t size = 1;
        if (probe.protocol == IPPROTO_ICMP || probe.protocol == IPPROTO_ICMPV6) {
            packet[0] = probe.protocol == IPPROTO_ICMP ? ICMP_ECHO : ICMP6_ECHO_REQUEST;
            if (probe.protocol == IPPROTO_ICMP) {
                packet[2] = 0xf7; // checksum of an echo request with zero id and sequence
                packet[3] = 0xff;
            }
            size = sizeof packet;
        }
        if (::sendto(fd, packet, size, 0, reinterpret_cast<sockaddr *>(&address), length) < 0)
            outcome = errno == EPERM ? Outcome::Refused : Outcome::NoRoute;
    }
    ::close(fd);
    return outcome;
}

bool loopbackWorks()
{
    const int server = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int client = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bool works = server >= 0 && client >= 0
        && ::bind(server, reinterpret_cast<sockaddr *>(&address), length) == 0
        && ::listen(server, 1) == 0
        && ::getsockname(server, reinterpret_cast<sockaddr *>(&address), &length) == 0;
    if (works && ::connect(client, reinterpret_cast<sockaddr *>(&address), length) != 0) {
        pollfd wait {client, POLLOUT, 0};
        int error = 0;
        socklen_t size = sizeof error;
        works = errno == EINPROGRESS && ::poll(&wait, 1, 2000) == 1
            && ::getsockopt(client, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
    }
    if (server >= 0)
        ::close(server);
    if (client >= 0)
        ::close(client);
    return works;
}

} // namespace

QStringList NetLockSelfTest::compareTables(const QByteArray &live, const QByteArray &expected,
                                           QStringList *extra)
{
    bool liveOk = false;
    bool expectedOk = false;
    const Parts have = partsOf(live, &liveOk);
    const Parts want = partsOf(expected, &expectedOk);
    if (!liveOk || !expectedOk)
        return {QStringLiteral("the table could not be read")};
    QStringList differences;
    for (const QString &object : want.objects) {
        if (!have.objects.contains(object))
            differences << QStringLiteral("missing: ") + shortly(object);
    }
    for (const QString &object : have.objects) {
        if (!want.objects.contains(object))
            differences << QStringLiteral("added: ") + shortly(object);
    }
    if (differences.isEmpty() && have.objects != want.objects)
        differences << QStringLiteral("the rules are in another order");
    for (auto it = want.sets.cbegin(); it != want.sets.cend(); ++it) {
        const QSet<QString> members = have.sets.value(it.key());
        for (const QString &member : it.value()) {
            if (!members.contains(member))
                differences << QStringLiteral("set %1 lacks %2").arg(it.key(), member);
        }
        for (const QString &member : members) {
            if (!it.value().contains(member) && extra)
                extra->append(member);
        }
    }
    return differences;
}

QStringList NetLockSelfTest::ruleDifferences(const QByteArray &live, const QByteArray &expected)
{
    static const QRegularExpression counter(QStringLiteral("counter packets \\d+ bytes \\d+"));
    const auto rules = [](const QByteArray &listing) {
        QStringList out;
        QString chain;
        int setDepth = 0;
        for (const QByteArray &raw : listing.split('\n')) {
            QString line = QString::fromUtf8(raw).trimmed();
            if (line.startsWith(QLatin1String("set ")))
                setDepth = 1;
            else if (setDepth > 0)
                setDepth += int(line.count(QLatin1Char('{'))) - int(line.count(QLatin1Char('}')));
            if (setDepth > 0 || line.isEmpty() || line == QLatin1String("}")
                || line.startsWith(QLatin1String("table ")))
                continue;
            if (line.startsWith(QLatin1String("chain "))) {
                chain = line.section(QLatin1Char(' '), 1, 1);
                continue;
            }
            line.replace(counter, QStringLiteral("counter"));
            out << QStringLiteral("%1 (chain %2)").arg(line, chain);
        }
        return out;
    };
    QStringList have = rules(live);
    QStringList want = rules(expected);
    QStringList words;
    for (const QString &rule : qAsConst(want)) {
        if (!have.removeOne(rule))
            words << QStringLiteral("missing: ") + rule;
    }
    for (const QString &rule : qAsConst(have))
        words << QStringLiteral("added: ") + rule;
    return words;
}

qint64 NetLockSelfTest::droppedPackets(const QByteArray &live)
{
    qint64 total = -1;
    const QJsonArray items = QJsonDocument::fromJson(live).object().value("nftables").toArray();
    for (const QJsonValue &item : items) {
        const QJsonArray expr = item.toObject().value("rule").toObject().value("expr").toArray();
        if (expr.size() == 2 && expr.at(0).toObject().contains(QLatin1String("counter"))
            && expr.at(1).toObject().contains(QLatin1String("drop")))
            total = qMax<qint64>(total, 0)
                + qint64(expr.at(0)
                             .toObject()
                             .value("counter")
                             .toObject()
                             .value("packets")
                             .toDouble());
    }
    return total;
}

QStringList NetLockSelfTest::resolvers(const QByteArray &resolvConf)
{
    QStringList found;
    for (const QByteArray &line : resolvConf.split('\n')) {
        const QList<QByteArray> words = line.simplified().split(' ');
        if (words.size() >= 2 && words.first() == "nameserver")
            found << QString::fromLatin1(words.at(1));
    }
    const LockRuleset::Addresses addresses = LockRuleset::vet(found);
    return addresses.v4 + addresses.v6;
}

QByteArray NetLockSelfTest::listTable(bool json, bool *ok) const
{
    QStringList arguments {m_nft, QStringLiteral("list"), QStringLiteral("table"),
                           QStringLiteral("inet"), QLatin1String(LockRuleset::Table)};
    if (json)
        arguments.insert(1, QStringLiteral("-j"));
    return nft(arguments, QByteArray(), ok);
}

QByteArray NetLockSelfTest::nft(const QStringList &arguments, const QByteArray &input,
                                bool *ok) const
{
    const SystemProgram::Result result = SystemProgram::run(
        arguments.first(), arguments.mid(1), input, NftMs, SystemProgram::Errors::Discard);
    *ok = result.ok;
    return result.output;
}

// The table as the lock would build it now, loaded and listed in a network namespace of its
// own, so that nftables writes both tables the same way and the machine is not touched.
QPair<QByteArray, QByteArray> NetLockSelfTest::expectedTable(const QStringList &v4,
                                                             const QStringList &v6, bool *ok) const
{
    const QString script = QStringLiteral("%1 -f - && %1 -j list table inet %2 && exec %1 list "
                                          "table inet %2")
                               .arg(m_nft, QLatin1String(LockRuleset::Table));
    const QByteArray both = nft({QStringLiteral("/usr/bin/unshare"), QStringLiteral("--net"),
                                 QStringLiteral("/bin/sh"), QStringLiteral("-c"), script},
                                LockRuleset::render(v4, v6), ok);
    const int split = both.indexOf('\n');
    return {both.left(split), both.mid(split + 1)};
}

QString NetLockSelfTest::probeInterfaces(const QStringList &allowed, bool *passed) const
{
    QList<Probe> probes;
    const QStringList servers = resolvers([] {
        QFile file(QStringLiteral("/etc/resolv.conf"));
        return file.open(QIODevice::ReadOnly) ? file.read(64 * 1024) : QByteArray();
    }());
    for (const QString &resolver : servers) {
        if (QHostAddress(resolver).isLoopback())
            continue;
        probes.append({QStringLiteral("DNS to ") + resolver,
                       resolver.contains(QLatin1Char(':')) ? AF_INET6 : AF_INET, SOCK_DGRAM, 0,
                       resolver, 53});
    }
    const QStringList targets = probeTargets(allowed);
    for (const QString &address : targets) {
        const int family = address.contains(QLatin1Char(':')) ? AF_INET6 : AF_INET;
        probes.append({QStringLiteral("UDP 53 to ") + address, family, SOCK_DGRAM, 0, address, 53});
        probes.append(
            {QStringLiteral("TCP 443 to ") + address, family, SOCK_STREAM, 0, address, 443});
        probes.append({QStringLiteral("ping to ") + address, family, SOCK_RAW,
                       family == AF_INET ? int(IPPROTO_ICMP) : int(IPPROTO_ICMPV6), address, 0});
    }
    const auto dropped = [this] {
        bool ok = false;
        return droppedPackets(listTable(true, &ok));
    };

    QStringList leaks;
    int refused = 0;
    int interfaces = 0;
    const QList<QNetworkInterface> all = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &device : all) {
        if (!(device.flags() & QNetworkInterface::IsUp)
            || (device.flags() & QNetworkInterface::IsLoopBack)
            || device.name() == QLatin1String(LockRuleset::Tunnel))
            continue;
        ++interfaces;
        for (const Probe &probe : qAsConst(probes)) {
            const Outcome outcome = sendProbe(probe, device.name(), dropped);
            if (outcome == Outcome::Refused)
                ++refused;
            else if (outcome == Outcome::Sent)
                leaks << probe.what + QStringLiteral(" on ") + device.name();
        }
    }
    *passed = leaks.isEmpty();
    if (!leaks.isEmpty())
        return QStringLiteral("not refused: %1").arg(leaks.join(QStringLiteral(", ")));
    if (interfaces == 0)
        return QStringLiteral("no interface besides loopback and the tunnel to probe");
    return QStringLiteral("%1 of %2 probes refused on %3 interface(s)%4")
        .arg(refused)
        .arg(probes.size() * interfaces)
        .arg(interfaces)
        .arg(refused < probes.size() * interfaces ? QStringLiteral("; the others had no route")
                                                  : QString());
}

QString NetLockSelfTest::checkAllowed(const QString &server, quint16 port, const QByteArray &live,
                                      bool *passed) const
{
    *passed = loopbackWorks();
    if (!*passed)
        return QStringLiteral("loopback does not work");
    if (server.isEmpty())
        return QStringLiteral("loopback works; no VPN server address in the temp folder");
    const int family = server.contains(QLatin1Char(':')) ? AF_INET6 : AF_INET;
    const QString set
        = family == AF_INET ? QStringLiteral("allowed_v4") : QStringLiteral("allowed_v6");
    bool ok = false;
    const Parts parts = partsOf(live, &ok);
    const Probe probe {QString(), family, SOCK_DGRAM, 0, server, port};
    // Without the table nothing is blocked; the probe alone then tells.
    const bool listed = !ok || parts.sets.value(set).contains(server);
    *passed = listed && sendProbe(probe, QString(), [] { return qint64(0); }) != Outcome::Refused;
    return *passed ? QStringLiteral("loopback works; the VPN server %1 is let through").arg(server)
                   : QStringLiteral("the VPN server %1 is blocked").arg(server);
}

QStringList NetLockSelfTest::probeTargets(const QStringList &allowed)
{
    // Documentation addresses, which nobody's network uses for real; a network may use one
    // all the same (a test network's gateway), and the lock may let it through.
    static const QStringList V4 {QStringLiteral("192.0.2.1"), QStringLiteral("198.51.100.1"),
                                 QStringLiteral("203.0.113.1")};
    static const QStringList V6 {QStringLiteral("2001:db8::1"), QStringLiteral("2001:db8::2")};
    QStringList targets;
    for (const QStringList &candidates : {V4, V6}) {
        for (const QString &address : candidates) {
            if (!allowed.contains(address)) {
                targets << address;
                break;
            }
        }
    }
    return targets;
}

int NetLockSelfTest::run(const QString &tempFolder)
{
    m_nft = SystemProgram::nft();
    // The hosts the lock lets through, as it reads them, and the first VPN server to try.
    const LockRuleset::Addresses addresses
        = LockRuleset::vet(NetworkLock::hostsIn(m_context, tempFolder, nullptr));
    const QByteArray config = CallerFile::read(tempFolder + QStringLiteral("/openvpn_config.ovpn"),
                                               m_context.caller, m_context.callerGroup)
                                  .bytes;
    quint16 port = 1194;
    for (const QByteArray &line : config.split('\n')) {
        const QList<QByteArray> words = line.simplified().split(' ');
        if (words.size() >= 3 && words.first() == "remote") {
            port = quint16(qBound(1, words.at(2).toInt(), 65535));
            break;
        }
    }
    const LockRuleset::Addresses servers = LockRuleset::vet(NetworkLock::remoteHosts(config));
    const QString server = servers.v4.value(0, servers.v6.value(0));

    bool loaded = false;
    const QByteArray live = listTable(true, &loaded);
    bool allPassed = true;
    if (!loaded) {
        print('a', false, QStringLiteral("the lock's table is not loaded: nothing is blocked"));
        allPassed = false;
    } else {
        bool built = false;
        const QPair<QByteArray, QByteArray> expected
            = expectedTable(addresses.v4, addresses.v6, &built);
        QStringList extra;
        QStringList differences = built
            ? compareTables(live, expected.first, &extra)
            : QStringList {QStringLiteral("the expected table could not be built")};
        if (built && !differences.isEmpty()) {
            bool listed = false;
            const QStringList words = ruleDifferences(listTable(false, &listed), expected.second);
            if (listed && !words.isEmpty())
                differences = words + differences.filter(QStringLiteral("set "));
        }
        allPassed = differences.isEmpty();
        print('a', allPassed,
              allPassed
                  ? QStringLiteral("the table is loaded and unchanged (%1 more addresses from "
                                   "host names)")
                        .arg(extra.size())
                  : QStringLiteral("the table was changed: %1")
                        .arg(differences.join(QStringLiteral("; "))));
    }

    // Only addresses the lock does not let through tell whether it blocks.
    QStringList allowed = addresses.v4 + addresses.v6;
    bool parsed = false;
    const Parts parts = partsOf(live, &parsed);
    for (const char *set : {"allowed_v4", "allowed_v6"})
        allowed += parts.sets.value(QLatin1String(set)).values();
    bool probesPassed = false;
    const QString probeDetail = probeInterfaces(allowed, &probesPassed);
    print('b', probesPassed, probeDetail);

    bool listed = false;
    const QByteArray after = listTable(true, &listed);
    const qint64 dropped = listed ? droppedPackets(after) : -1;
    print('c', dropped >= 0,
          dropped >= 0
              ? QStringLiteral("%1 packets blocked since the lock was switched on").arg(dropped)
              : QStringLiteral("the lock counts nothing it blocks"));

    bool allowedPassed = false;
    const QString allowedDetail = checkAllowed(server, port, after, &allowedPassed);
    print('d', allowedPassed, allowedDetail);
    return allPassed && probesPassed && dropped >= 0 && allowedPassed ? 0 : 1;
}
