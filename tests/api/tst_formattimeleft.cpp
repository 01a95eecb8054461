#include "support/testmain.h"
#include "ui/formattimeleft.h"

#include <QTranslator>

namespace {

// Every text of the context "QObject" comes back with its disambiguation in braces, so the
// form that was asked for shows.
class FormMarker : public QTranslator
{
public:
    QString translate(const char *context, const char *source, const char *disambiguation,
                      int) const override
    {
        if (qstrcmp(context, "QObject") != 0)
            return QString();
        return QString::fromLatin1(source)
            + (disambiguation ? QStringLiteral("{%1}").arg(QLatin1String(disambiguation)) : "");
    }
    bool isEmpty() const override { return false; }
};

const qint64 now = 1800000000;
const qint64 day = 86400;

} // namespace

class TestFormatTimeLeft : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void cleanup() { KESTRUNE_VERIFY_NO_QT_WARNINGS(); }

    // language: 1 Russian, 2 English, 3 Chinese, 4 Spanish, 5 Ukrainian.
    void eachLanguageDeclinesByItsOwnRule_data()
    {
        QTest::addColumn<qint64>("remaining");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("text");
        const QString dayS = "%1 day{singular ending} left{days, singular ending}";
        const QString daysP = "%1 days{plural ending} left{days, plural ending}";
        const QString ruS = "left{days, singular ending} %1 day{singular ending}";
        const QString ruF = "left{days, special ending} %1 days{special ending}";
        const QString ruP = "left{days, plural ending} %1 days{plural ending}";
        QTest::newRow("English 21 days: regression, was '21 day'")
            << 21 * day + 1 << 2 << daysP.arg(21);
        QTest::newRow("English 4061 days") << 4061 * day + 1 << 2 << daysP.arg(4061);
        QTest::newRow("English 1 day (90000 s)") << qint64(90000) << 2 << dayS.arg(1);
        QTest::newRow("Spanish 21 days: regression") << 21 * day + 1 << 4 << ruP.arg(21);
        QTest::newRow("Russian 21") << 21 * day + 1 << 1 << ruS.arg(21);
        QTest::newRow("Russian 22") << 22 * day + 1 << 1 << ruF.arg(22);
        QTest::newRow("Russian 11") << 11 * day + 1 << 1 << ruP.arg(11);
        QTest::newRow("Russian 111: regression, was singular")
            << 111 * day + 1 << 1 << ruP.arg(111);
        QTest::newRow("Ukrainian 101") << 101 * day + 1 << 5 << ruS.arg(101);
        QTest::newRow("Ukrainian 112") << 112 * day + 1 << 5 << ruP.arg(112);
        QTest::newRow("Chinese 1: one form") << qint64(90000) << 3 << ruP.arg(1);
        QTest::newRow("86400 s is 24 hours")
            << day << 1 << "left{hours, special ending} 24 hours{special ending}";
        QTest::newRow("3599 s") << qint64(3599) << 2 << "59 m 59 s left{minutes, plural ending}";
        QTest::newRow("nothing left") << qint64(0) << 2 << "";
    }
    void eachLanguageDeclinesByItsOwnRule()
    {
        QFETCH(qint64, remaining);
        QFETCH(int, language);
        QFETCH(QString, text);
        FormMarker marker;
        QVERIFY(QCoreApplication::installTranslator(&marker));
        const QString got = formatTimeLeft(now + remaining, qint16(language), true, now);
        QCoreApplication::removeTranslator(&marker);
        QCOMPARE(got, text);
    }
};

KESTRUNE_TEST_MAIN(TestFormatTimeLeft)
#include "tst_formattimeleft.moc"
