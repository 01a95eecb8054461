#include "support/testmain.h"
#include "ui/formattimeleft.h"

#include <QTranslator>

namespace {

// Shows which form was asked for: every text of the context "QObject" comes back with its
// disambiguation in braces, as a translation that declines by category would pick it.
class FormMarker : public QTranslator
{
public:
    QString translate(const char *context, const char *sourceText, const char *disambiguation,
                      int) const override
    {
        if (qstrcmp(context, "QObject") != 0)
            return QString();
        return QString::fromLatin1(sourceText)
            + (disambiguation ? QStringLiteral("{%1}").arg(QLatin1String(disambiguation))
                              : QString());
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

    void categoryOfTheCount_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("unit");
        QTest::addColumn<int>("category");
        const int days = TimeLeft_Days;
        const int hours = TimeLeft_Hours;
        QTest::newRow("21 days singular") << 21 << days << int(TimeLeft_Singular);
        QTest::newRow("22 days special") << 22 << days << int(TimeLeft_Special);
        QTest::newRow("25 days plural") << 25 << days << int(TimeLeft_Plural);
        QTest::newRow("11 days plural") << 11 << days << int(TimeLeft_Plural);
        QTest::newRow("111 days singular") << 111 << days << int(TimeLeft_Singular);
        QTest::newRow("112 days special") << 112 << days << int(TimeLeft_Special);
        QTest::newRow("100 days plural") << 100 << days << int(TimeLeft_Plural);
        QTest::newRow("1 hour singular") << 1 << hours << int(TimeLeft_Singular);
        QTest::newRow("24 hours special") << 24 << hours << int(TimeLeft_Special);
        QTest::newRow("0 minutes plural") << 0 << int(TimeLeft_Minutes) << int(TimeLeft_Plural);
        QTest::newRow("12 minutes plural") << 12 << int(TimeLeft_Minutes) << int(TimeLeft_Plural);
        QTest::newRow("111 hours singular") << 111 << hours << int(TimeLeft_Singular);
        QTest::newRow("112 hours") << 112 << hours << int(TimeLeft_Special);
        QTest::newRow("115 hours") << 115 << hours << int(TimeLeft_Plural);
        QTest::newRow("213 days: last digit 3") << 213 << days << int(TimeLeft_Special);
    }
    void categoryOfTheCount()
    {
        QFETCH(int, count);
        QFETCH(int, unit);
        QFETCH(int, category);
        QCOMPARE(int(timeLeftCategory(count, TimeLeftUnit(unit))), category);
    }

    void textPicksTheDeclinedFormAndWordOrder_data()
    {
        QTest::addColumn<qint64>("remaining");
        QTest::addColumn<int>("language");
        QTest::addColumn<bool>("withLeftWord");
        QTest::addColumn<QString>("text");
        QTest::newRow("21 days") << 21 * day + 1 << 2 << true
                                 << "21 day{singular ending} left{days, singular ending}";
        QTest::newRow("22 days") << 22 * day + 1 << 2 << true
                                 << "22 days{special ending} left{days, special ending}";
        QTest::newRow("25 days") << 25 * day + 1 << 2 << true
                                 << "25 days{plural ending} left{days, plural ending}";
        QTest::newRow("11 days") << 11 * day + 1 << 2 << true
                                 << "11 days{plural ending} left{days, plural ending}";
        QTest::newRow("111 days") << 111 * day + 1 << 2 << true
                                  << "111 day{singular ending} left{days, singular ending}";
        QTest::newRow("112 days") << 112 * day + 1 << 2 << true
                                  << "112 days{special ending} left{days, special ending}";
        QTest::newRow("90000 s is one day")
            << qint64(90000) << 2 << true << "1 day{singular ending} left{days, singular ending}";
        QTest::newRow("86400 s is 24 hours")
            << qint64(86400) << 2 << true << "24 hours{special ending} left{hours, special ending}";
        QTest::newRow("3600 s is one hour")
            << qint64(3600) << 2 << true << "1 hour{singular ending} left{hours, singular ending}";
        QTest::newRow("3599 s in minutes and seconds")
            << qint64(3599) << 2 << true << "59 m 59 s left{minutes, plural ending}";
        QTest::newRow("61 s") << qint64(61) << 2 << true
                              << "1 m 1 s left{minutes, singular ending}";
        QTest::newRow("Russian puts the word first")
            << 21 * day + 1 << 1 << true << "left{days, singular ending} 21 day{singular ending}";
        QTest::newRow("Spanish puts the word first")
            << qint64(3599) << 4 << true << "left{minutes, plural ending} 59 m 59 s";
        QTest::newRow("without the word")
            << 22 * day + 1 << 1 << false << "22 days{special ending}";
        QTest::newRow("one second") << qint64(1) << 2 << false << "0 m 1 s";
        QTest::newRow("nothing left") << qint64(0) << 2 << true << "";
        QTest::newRow("end passed") << qint64(-500) << 1 << true << "";
    }
    void textPicksTheDeclinedFormAndWordOrder()
    {
        QFETCH(qint64, remaining);
        QFETCH(int, language);
        QFETCH(bool, withLeftWord);
        QFETCH(QString, text);
        FormMarker marker;
        QVERIFY(QCoreApplication::installTranslator(&marker));
        const QString got = formatTimeLeft(now + remaining, qint16(language), withLeftWord, now);
        QCoreApplication::removeTranslator(&marker);
        QCOMPARE(got, text);
    }

    void untranslatedTextIsPlainEnglish()
    {
        QCOMPARE(formatTimeLeft(now + 21 * day + 1, 2, true, now), QString("21 day left"));
        QCOMPARE(formatTimeLeft(now + 25 * day + 1, 2, true, now), QString("25 days left"));
        QCOMPARE(formatTimeLeft(now + 7200, 2, true, now), QString("2 hours left"));
    }

    void clockVariantCountsFromNow()
    {
        const int end = int(QDateTime::currentSecsSinceEpoch() + 30 * day + 1000);
        QCOMPARE(formatTimeLeft(end, qint16(2), false), QString("30 days"));
        const int past = int(QDateTime::currentSecsSinceEpoch() - 10);
        QVERIFY(formatTimeLeft(past, qint16(2), true).isEmpty());
    }
};

KESTRUNE_TEST_MAIN(TestFormatTimeLeft)
#include "tst_formattimeleft.moc"
