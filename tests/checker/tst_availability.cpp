// The availability check's probes: how many run at once, what each reports and how fast.

#include "engine/serverconnectcheckerthreadlauncher.h"
#include "support/reservedport.h"
#include "support/testmain.h"

#include <memory>
#include <vector>

#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

namespace {

using Checker = ServerConnectCheckerThreadLauncher;

// A listener that never accepts: its backlog is filled first, so a new connection hangs.
struct SilentPort
{
    ReservedPort port {ReservedPort::Silent};
    std::vector<std::unique_ptr<QTcpSocket>> fill;
    bool jam()
    {
        for (int i = 0; i < 24; ++i) {
            fill.push_back(std::make_unique<QTcpSocket>());
            fill.back()->connectToHost(QHostAddress::LocalHost, port.port());
        }
        // A backlog of 16 holds 17 connections; the ones after them hang.
        return QTest::qWaitFor([this]() { return fill[16]->state() == QTcpSocket::ConnectedState; },
                               5000);
    }
};

// Runs one series on a thread of its own, as the window does; results arrive queued.
struct Series
{
    QThread thread;
    Checker *launcher;
    QMap<int, bool> results;
    QList<int> order; // of the results' arrival
    Series(const QList<QVariant> &queue, int timeoutMs)
        : launcher(new Checker(queue, 5, timeoutMs))
    {
        launcher->moveToThread(&thread);
        QObject::connect(&thread, &QThread::started, launcher, &Checker::init);
        QObject::connect(launcher, &Checker::finished, &thread, &QThread::quit,
                         Qt::DirectConnection);
        QObject::connect(launcher, &Checker::sendResult, &thread, [this](int id, bool ok) {
            results.insert(id, ok);
            order << id;
        });
    }
    ~Series() { thread.wait(20000); }
};

} // namespace

class TestAvailability : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void cleanup() { KESTRUNE_VERIFY_NO_QT_WARNINGS(); }

    // Silent servers hold their probe until the time limit; the answering ones come after.
    void runsAtMostFiveProbesAtOnce_data()
    {
        QTest::addColumn<int>("silent");
        QTest::addColumn<int>("answering");
        QTest::addColumn<bool>("answeringFirst");
        // The answering ones come last: five at once tell 3, 4, 5 and 6 apart.
        QTest::newRow("seven: the last two start as the first ones end") << 5 << 2 << false;
        QTest::newRow("five: all at once") << 4 << 1 << true;
        QTest::newRow("three: all at once") << 2 << 1 << true;
    }
    void runsAtMostFiveProbesAtOnce()
    {
        QFETCH(int, silent);
        QFETCH(int, answering);
        QFETCH(bool, answeringFirst);
        SilentPort silentPorts[5];
        QTcpServer listeners[2];
        QList<QVariant> queue;
        QList<bool> expected;
        for (int i = 0; i < silent; ++i, expected << false) {
            QVERIFY(silentPorts[i].jam());
            queue << Checker::entry(i, "127.0.0.1", silentPorts[i].port.port());
        }
        for (int i = 0; i < answering; ++i, expected << true) {
            QVERIFY(listeners[i].listen(QHostAddress::LocalHost));
            queue << Checker::entry(100 + i, "127.0.0.1", listeners[i].serverPort());
        }
        Series series(queue, 1500);
        series.thread.start();
        QTRY_COMPARE_WITH_TIMEOUT(series.results.size(), silent + answering, 15000);
        QCOMPARE(series.order.first() >= 100, answeringFirst);
        QCOMPARE(series.results.values(), expected); // silent ones first by id
    }

    // Each kind of server with a time limit far beyond the wait: only an answer on the spot
    // can pass, except where the limit itself is meant.
    void reportsEachServer_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("timeoutMs");
        QTest::addColumn<bool>("reachable");
        QTest::newRow("a refused port fails at once") << "refused" << 60000 << false;
        QTest::newRow("a silent listener fails at the time limit") << "silent" << 300 << false;
        QTest::newRow("an abort counts as reachable") << "abort" << 60000 << true;
        QTest::newRow("an unknown name fails at once") << "unresolvable" << 60000 << false;
    }
    void reportsEachServer()
    {
        QFETCH(QString, kind);
        QFETCH(int, timeoutMs);
        QFETCH(bool, reachable);
        if (kind == "unresolvable" && !qEnvironmentVariableIsSet("KESTRUNE_PRIVATE_NETNS"))
            QSKIP("needs a network namespace of its own");
        ReservedPort refused;
        SilentPort silent;
        QString host = QStringLiteral("127.0.0.1");
        int port = refused.port();
        if (kind == "silent" || kind == "abort") {
            QVERIFY(silent.jam());
            port = silent.port.port();
        } else if (kind == "unresolvable") {
            host = QStringLiteral("no-such-server.invalid");
        }
        Series series({Checker::entry(7, host, port)}, timeoutMs);
        series.thread.start();
        if (kind == "abort")
            QTimer::singleShot(200, series.launcher, &Checker::abort);
        // The series ends with its last probe: the launcher's end quits its thread.
        QTRY_VERIFY_WITH_TIMEOUT(series.thread.isFinished(), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(series.results.size(), 1, 5000);
        QCOMPARE(series.results.value(7), reachable);
    }
};

KESTRUNE_TEST_MAIN(TestAvailability)
#include "tst_availability.moc"
