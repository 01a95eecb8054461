// The network watcher's judgement from rtnetlink messages built here byte by byte, as the
// kernel sends them: which notifications can change the route to the server, the route outside
// the tunnel, the decision between two answers, and one decision per settle.
#include "support/testmain.h"
#include "system/netlinkroutes.h"
#include "system/networkwatcher.h"

#include <linux/rtnetlink.h>
#include <net/if.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

Q_DECLARE_METATYPE(RouteChange)

namespace {

const QHostAddress Server(QStringLiteral("198.51.100.7"));
enum Link { Eth0 = 2, Wlan0 = 3, Eth1Down = 4, Tunnel = 7 };

class Message
{
public:
    explicit Message(quint16 type, quint16 flags = 0, quint32 seq = 0)
    {
        nlmsghdr header = {};
        header.nlmsg_type = type;
        header.nlmsg_flags = flags;
        header.nlmsg_seq = seq;
        put(&header, sizeof header);
    }
    template<typename T> Message &fixed(const T &part) { return put(&part, sizeof part); }
    Message &attribute(quint16 type, const QByteArray &data)
    {
        const rtattr header = {quint16(RTA_LENGTH(data.size())), type};
        put(&header, sizeof header);
        return put(data.constData(), data.size());
    }
    Message &address(quint16 type, const char *text)
    {
        const QHostAddress ip {QString::fromLatin1(text)};
        const quint32 v4 = qToBigEndian(ip.toIPv4Address());
        const Q_IPV6ADDR v6 = ip.toIPv6Address();
        return ip.protocol() == QAbstractSocket::IPv4Protocol
            ? attribute(type, QByteArray(reinterpret_cast<const char *>(&v4), 4))
            : attribute(type, QByteArray(reinterpret_cast<const char *>(v6.c), 16));
    }
    Message &u32(quint16 type, quint32 value)
    {
        return attribute(type, QByteArray(reinterpret_cast<const char *>(&value), 4));
    }
    operator QByteArray() const
    {
        QByteArray bytes = m_bytes;
        const quint32 length = quint32(bytes.size());
        memcpy(bytes.data(), &length, 4);
        return bytes;
    }

private:
    Message &put(const void *data, int size)
    {
        m_bytes.append(static_cast<const char *>(data), size);
        m_bytes.append(QByteArray(NLMSG_ALIGN(size) - size, '\0'));
        return *this;
    }
    QByteArray m_bytes;
};

// A route message: "198.51.100.0/24" or "default", through `oif`, optionally via a gateway.
Message route(const char *prefix, int oif, const char *gateway = nullptr,
              quint16 type = RTM_NEWROUTE, quint32 priority = 0, quint16 flags = 0, quint32 seq = 0)
{
    const QString text = QString::fromLatin1(prefix);
    const bool v6 = text.contains(QLatin1Char(':'));
    const QPair<QHostAddress, int> subnet = text == QLatin1String("default")
        ? qMakePair(QHostAddress(QHostAddress::AnyIPv4), 0)
        : QHostAddress::parseSubnet(text);
    rtmsg body = {};
    body.rtm_family = v6 ? AF_INET6 : AF_INET;
    body.rtm_dst_len = quint8(subnet.second);
    body.rtm_table = RT_TABLE_MAIN;
    body.rtm_type = RTN_UNICAST;
    Message message(type, flags, seq);
    message.fixed(body).u32(RTA_OIF, quint32(oif)).u32(RTA_PRIORITY, priority);
    if (subnet.second > 0)
        message.address(RTA_DST, subnet.first.toString().toLatin1().constData());
    if (gateway)
        message.address(RTA_GATEWAY, gateway);
    return message;
}

// The kernel's answer to the route query (seq 1) for the server.
QByteArray answer(int oif, const char *gateway, const char *source)
{
    return route("198.51.100.7/32", oif, gateway, RTM_NEWROUTE, 0, 0, 1)
        .address(RTA_PREFSRC, source);
}

QByteArray refusal(int error, quint32 seq = 1)
{
    nlmsgerr body = {};
    body.error = -error;
    return Message(NLMSG_ERROR, 0, seq).fixed(body);
}

Message link(int index, const char *name, bool up, quint16 type = RTM_NEWLINK)
{
    ifinfomsg body = {};
    body.ifi_index = index;
    body.ifi_flags = up ? IFF_UP | IFF_RUNNING : 0;
    return Message(type, NLM_F_MULTI)
        .fixed(body)
        .attribute(IFLA_IFNAME, QByteArray(name, int(strlen(name)) + 1));
}

QByteArray address(int index, int family = AF_INET)
{
    ifaddrmsg body = {};
    body.ifa_family = quint8(family);
    body.ifa_prefixlen = 24;
    body.ifa_index = quint32(index);
    return Message(RTM_NEWADDR)
        .fixed(body)
        .address(IFA_LOCAL, family == AF_INET ? "192.0.2.3" : "2001:db8::3");
}

// Links known from a dump, as the watcher reads them when it starts and after an overrun.
NetlinkRoutes watching()
{
    NetlinkRoutes netlink;
    netlink.setServer(Server, QStringLiteral("ksvpn_tun"));
    QVector<NetlinkRoutes::Route> none;
    const QByteArray dump = link(Eth0, "eth0", true) + link(Wlan0, "wlan0", true)
        + link(Eth1Down, "eth1", false) + link(Tunnel, "ksvpn_tun", true)
        + Message(NLMSG_DONE, NLM_F_MULTI);
    if (netlink.readReply(dump, 0, &none) != NetlinkRoutes::Reply::Done
        || !netlink.isTunnel(Tunnel))
        qFatal("link dump not read");
    return netlink;
}

ServerRoute judged(NetlinkRoutes &netlink, const QByteArray &reply)
{
    QVector<NetlinkRoutes::Route> routes;
    if (netlink.readReply(reply, 1, &routes) != NetlinkRoutes::Reply::Done || routes.isEmpty())
        return ServerRoute();
    return netlink.judge(routes.first());
}

} // namespace

class NetworkWatcherTest : public QObject
{
    Q_OBJECT

private slots:
    // A bus of the test's own stands for the system bus, where it plays logind and another
    // program; the watcher connects to it as to the system bus.
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QFile config(m_dir.filePath(QStringLiteral("bus.conf")));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write("<busconfig><listen>unix:path="
                     + m_dir.filePath(QStringLiteral("bus")).toUtf8()
                     + "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                       "<allow send_destination=\"*\"/><allow receive_sender=\"*\"/>"
                       "<allow own=\"*\"/></policy></busconfig>");
        config.close();
        m_bus.start(QStringLiteral("dbus-daemon"),
                    {QStringLiteral("--nofork"), QStringLiteral("--print-address"),
                     QStringLiteral("--config-file=") + config.fileName()});
        QVERIFY2(m_bus.waitForReadyRead(5000), "dbus-daemon did not start");
        const QString address = QString::fromUtf8(m_bus.readLine().trimmed());
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", address.toUtf8());
        m_logind = QDBusConnection::connectToBus(address, QStringLiteral("logind"));
        m_other = QDBusConnection::connectToBus(address, QStringLiteral("other"));
        QVERIFY(m_logind.registerService(QStringLiteral("org.freedesktop.login1")));
        m_watcher = std::make_unique<NetworkWatcher>();
        QVERIFY(m_watcher->watchServer(Server, QStringLiteral("ksvpn_tun")));
    }
    void cleanupTestCase()
    {
        m_watcher.reset();
        m_bus.kill();
        m_bus.waitForFinished(5000);
    }

    // The signal, then logind's own wake-up as a closing mark: the bus delivers them in order.
    void wakeUp_data()
    {
        QTest::addColumn<bool>("fromLogind");
        QTest::addColumn<bool>("sleeping");
        QTest::addColumn<int>("wakeUps");
        QTest::newRow("logind: the computer woke up") << true << false << 1;
        QTest::newRow("logind: the computer goes to sleep") << true << true << 0;
        QTest::newRow("another program says the computer woke up") << false << false << 0;
    }
    void wakeUp()
    {
        QFETCH(bool, fromLogind);
        QFETCH(bool, sleeping);
        QSignalSpy woke(m_watcher.get(), &NetworkWatcher::wokeUp);
        const auto prepareForSleep = [](QDBusConnection &bus, bool goingToSleep) {
            QDBusMessage signal
                = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/login1"),
                                             QStringLiteral("org.freedesktop.login1.Manager"),
                                             QStringLiteral("PrepareForSleep"));
            signal << goingToSleep;
            QVERIFY(bus.send(signal));
            // A call answered after the signal has passed the bus.
            QVERIFY(bus.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.DBus")));
        };
        prepareForSleep(fromLogind ? m_logind : m_other, sleeping);
        prepareForSleep(m_logind, false);
        QFETCH(int, wakeUps);
        QTRY_COMPARE_WITH_TIMEOUT(woke.count(), wakeUps + 1, 5000);
    }

    void decision_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<RouteChange>("change");
        const QByteArray usual = answer(Eth0, "192.0.2.1", "192.0.2.2");
        QTest::newRow("route gone: the kernel finds none")
            << usual << refusal(ENETUNREACH) << RouteChange::Gone;
        QTest::newRow("route gone: its interface is down")
            << usual << answer(Eth1Down, "192.0.2.1", "192.0.2.2") << RouteChange::Gone;
        QTest::newRow("route back") << refusal(EHOSTUNREACH) << usual << RouteChange::Back;
        QTest::newRow("another gateway")
            << usual << answer(Eth0, "192.0.2.254", "192.0.2.2") << RouteChange::Changed;
        QTest::newRow("another interface")
            << usual << answer(Wlan0, "192.0.2.1", "192.0.2.2") << RouteChange::Changed;
        QTest::newRow("another source address")
            << usual << answer(Eth0, "192.0.2.1", "192.0.2.3") << RouteChange::Changed;
        QTest::newRow("the same route again") << usual << usual << RouteChange::Unchanged;
        QTest::newRow("still no route")
            << refusal(ENETUNREACH) << refusal(ENETUNREACH) << RouteChange::Unchanged;
    }
    void decision()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        NetlinkRoutes netlink = watching();
        RouteDecider decider;
        decider.start(judged(netlink, before));
        QFETCH(RouteChange, change);
        QCOMPARE(decider.decide(judged(netlink, after)), change);
        QCOMPARE(netlink.skipped(), 0);
    }

    // persist-tun leaves 0/1 and 128/1 in the tunnel when the server's host route goes with
    // the link: the kernel's answer is then the tunnel, and the route outside it decides.
    void outsideTunnel_data()
    {
        QTest::addColumn<QByteArray>("dump");
        QTest::addColumn<int>("interfaceIndex");
        QTest::addColumn<QString>("gateway");
        const auto multi = [](const char *prefix, int oif, const char *gateway,
                              quint32 metric = 0) {
            return QByteArray(route(prefix, oif, gateway, RTM_NEWROUTE, metric, NLM_F_MULTI, 1));
        };
        const QByteArray def1
            = multi("0.0.0.0/1", Tunnel, "10.8.0.1") + multi("128.0.0.0/1", Tunnel, "10.8.0.1");
        const QByteArray done = Message(NLMSG_DONE, NLM_F_MULTI, 1);
        QTest::newRow("def1 in the tunnel, the default route outside")
            << def1 + multi("default", Eth0, "192.0.2.1") + done << int(Eth0) << "192.0.2.1";
        QTest::newRow("the server's host route before the default")
            << multi("default", Eth0, "192.0.2.1") + multi("198.51.100.7/32", Wlan0, "192.0.2.9")
                + done
            << int(Wlan0) << "192.0.2.9";
        QTest::newRow("the lowest metric among equal prefixes")
            << multi("default", Wlan0, "192.0.2.9", 600) + multi("default", Eth0, "192.0.2.1", 100)
                + done
            << int(Eth0) << "192.0.2.1";
        QTest::newRow("only the tunnel's routes") << def1 + done << 0 << QString();
        QTest::newRow("a link that is down carries nothing")
            << def1 + multi("default", Eth1Down, "192.0.2.1") + done << 0 << QString();
        QTest::newRow("a route to another network")
            << multi("10.0.0.0/8", Eth0, "192.0.2.1") + done << 0 << QString();
    }
    void outsideTunnel()
    {
        QFETCH(QByteArray, dump);
        NetlinkRoutes netlink = watching();
        QVector<NetlinkRoutes::Route> table;
        QCOMPARE(netlink.readReply(dump, 1, &table), NetlinkRoutes::Reply::Done);
        NetlinkRoutes::Route best;
        const bool found = netlink.bestOutsideTunnel(table, &best);
        QFETCH(int, interfaceIndex);
        QFETCH(QString, gateway);
        QCOMPARE(found ? best.interfaceIndex : 0, interfaceIndex);
        QCOMPARE(found ? best.gateway.toString() : QString(), gateway);
    }

    void notifications_data()
    {
        QTest::addColumn<QByteArray>("buffer");
        QTest::addColumn<bool>("counts");
        QTest::addColumn<int>("skipped");
        const QByteArray added = route("default", Eth0, "192.0.2.1");
        QTest::newRow("default route added") << added << true << 0;
        QTest::newRow("default route removed")
            << QByteArray(route("default", Eth0, "192.0.2.1", RTM_DELROUTE)) << true << 0;
        QTest::newRow("a route to another network")
            << QByteArray(route("203.0.113.0/24", Eth0, "192.0.2.1")) << false << 0;
        QTest::newRow("the tunnel's 0/1 and 128/1")
            << route("0.0.0.0/1", Tunnel, "10.8.0.1") + route("128.0.0.0/1", Tunnel, "10.8.0.1")
            << false << 0;
        QTest::newRow("the tunnel's host route to the server (compared later, unchanged)")
            << QByteArray(route("198.51.100.7/32", Eth0, "192.0.2.1")) << true << 0;
        QTest::newRow("an IPv6 route for an IPv4 server")
            << QByteArray(route("::/0", Eth0, "fe80::1")) << false << 0;
        QTest::newRow("an address outside the tunnel") << address(Eth0) << true << 0;
        QTest::newRow("an address of the tunnel") << address(Tunnel) << false << 0;
        QTest::newRow("an IPv6 address") << address(Eth0, AF_INET6) << false << 0;
        QTest::newRow("a link goes down") << QByteArray(link(Eth0, "eth0", false)) << true << 0;
        QTest::newRow("the tunnel goes down")
            << QByteArray(link(Tunnel, "ksvpn_tun", false)) << false << 0;
        QTest::newRow("a link removed")
            << QByteArray(link(Wlan0, "wlan0", false, RTM_DELLINK)) << true << 0;
        QTest::newRow("a link news without a change of state")
            << QByteArray(link(Eth0, "eth0", true)) << false << 0;
        QTest::newRow("a new link") << QByteArray(link(9, "eth9", true)) << false << 0;
        QTest::newRow("route cut short") << added.left(added.size() - 4) << false << 1;
        QByteArray overrun = added;
        overrun[NLMSG_HDRLEN + int(sizeof(rtmsg))] = char(200); // first attribute's length
        QTest::newRow("attribute longer than its message, then a good route")
            << overrun + added << true << 1;
        QTest::newRow("rtmsg missing") << QByteArray(Message(RTM_NEWROUTE)) << false << 1;
        QTest::newRow("an address of the wrong size")
            << QByteArray(route("default", Eth0).address(RTA_GATEWAY, "2001:db8::1")) << false << 1;
        QTest::newRow("a few stray bytes") << QByteArray("\x05\x00", 2) << false << 1;
    }
    void notifications()
    {
        QFETCH(QByteArray, buffer);
        NetlinkRoutes netlink = watching();
        QFETCH(bool, counts);
        QFETCH(int, skipped);
        QCOMPARE(netlink.readNotifications(buffer), counts);
        QCOMPARE(netlink.skipped(), skipped);
    }

    // Notes of relevant messages at the given milliseconds, on a clock stepped by 10 ms: the
    // decisions come at the expected moments and nowhere else.
    void settle_data()
    {
        QTest::addColumn<QVector<int>>("notes");
        QTest::addColumn<QVector<int>>("expected");
        QTest::newRow("one change, decided after the quiet")
            << QVector<int> {500} << QVector<int> {1200};
        QVector<int> flap;
        for (int ms = 0; ms < 2000; ms += 200)
            flap << ms;
        QTest::newRow("a flap of ten changes in two seconds") << flap << QVector<int> {2500};
        QVector<int> storm;
        for (int ms = 0; ms < 7000; ms += 10)
            storm << ms;
        QTest::newRow("a storm that never rests: at most 3 s apart")
            << storm << QVector<int> {3000, 6010, 7690};
    }
    void settle()
    {
        QFETCH(QVector<int>, notes);
        NetlinkRoutes netlink = watching();
        RouteDecider decider;
        decider.start(judged(netlink, answer(Eth0, "192.0.2.1", "192.0.2.2")));
        QVector<int> decisions;
        bool up = true;
        for (int now = 0; now <= 10000; now += 10) {
            if (notes.contains(now)) {
                up = !up;
                QVERIFY(netlink.readNotifications(link(Eth0, "eth0", up)));
                decider.noteChange(now);
            }
            if (decider.msUntilDecision(now) == 0) {
                decisions << now;
                decider.decide(judged(netlink, answer(Eth0, "192.0.2.1", "192.0.2.2")));
            }
        }
        QFETCH(QVector<int>, expected);
        QCOMPARE(decisions, expected);
    }

private:
    QTemporaryDir m_dir;
    QProcess m_bus;
    QDBusConnection m_logind {QString()};
    QDBusConnection m_other {QString()};
    std::unique_ptr<NetworkWatcher> m_watcher;
};

KESTRUNE_TEST_MAIN(NetworkWatcherTest)
#include "tst_networkwatcher.moc"
