#include "api/apirequestbuilder.h"
#include "api/replyenvelope.h"
#include "api/replyparsers.h"
#include "replycatcher.h"
#include "support/reservedport.h"
#include "support/testmain.h"

#include <QNetworkProxy>
#include <QProcess>
#include <QSignalSpy>

class TestDemoService : public QObject
{
    Q_OBJECT

private:
    QString program() const { return QString::fromLocal8Bit(qgetenv("KESTRUNE_DEMO_SERVICE")); }

private slots:
    void initTestCase()
    {
        KestruneTest::guardQtWarnings();
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
        QVERIFY2(QFileInfo(program()).isExecutable(), qPrintable(program()));
    }
    void cleanup() { KESTRUNE_VERIFY_NO_QT_WARNINGS(); }

    void demoServiceSignsInTheDemoAccountAndStopsOnTerm()
    {
        ReservedPort reserved;
        const quint16 port = reserved.port();
        reserved.release();
        QProcess service;
        service.start(program(),
                      {QString::number(port), QStringLiteral("--lifetime"), QStringLiteral("60")});
        QVERIFY(service.waitForStarted(10000));
        QByteArray output;
        QTRY_VERIFY_WITH_TIMEOUT((output += service.readAllStandardOutput()).contains("password:"),
                                 10000);
        QVERIFY(output.contains(QStringLiteral("http://127.0.0.1:%1").arg(port).toLatin1()));
        QVERIFY(output.contains("login:    demo@kestrune.test"));
        QVERIFY(output.contains("password: demo-pass"));

        ApiRequestContext context;
        context.apiBaseUrl = QStringLiteral("http://127.0.0.1:%1").arg(port);
        ReplyCatcher catcher;
        QSignalSpy read(&catcher, SIGNAL(replyRead()));
        catcher.send(ApiRequestBuilder::build(Req_SignKey, context), 5000);
        QVERIFY(read.wait(10000));
        const ReplyEnvelope envelope
            = ReplyEnvelope::decode(catcher.results.first().error, catcher.results.first().body);
        QVERIFY(envelope.ok);
        QVERIFY(!parseSignKey(envelope.object).isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(catcher.threadsGone(), 10000);

        service.terminate();
        QVERIFY(service.waitForFinished(10000));
        QCOMPARE(service.exitStatus(), QProcess::NormalExit);
        QCOMPARE(service.exitCode(), 0);
        output += service.readAllStandardOutput();
        QVERIFY2(output.contains("stopped after 1 requests"), output.constData());
    }

    void demoServiceRefusesBadArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("no port") << QStringList();
        QTest::newRow("port not a number") << QStringList {"eighty"};
        QTest::newRow("port out of range") << QStringList {"70000"};
        QTest::newRow("unknown option") << QStringList {"18000", "--verbose"};
        QTest::newRow("https without key") << QStringList {"18000", "--https", "cert.pem"};
    }
    void demoServiceRefusesBadArguments()
    {
        QFETCH(QStringList, arguments);
        QProcess service;
        service.start(program(), arguments);
        QVERIFY(service.waitForFinished(10000));
        QCOMPARE(service.exitCode(), 2);
        QVERIFY(service.readAllStandardError().contains("usage:"));
    }
};

KESTRUNE_TEST_MAIN(TestDemoService)
#include "tst_demoservice.moc"
