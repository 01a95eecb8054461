#include "support/testmain.h"
#include "ui/statformat.h"

#include <QLocale>

// The statistics texts must come out the same under any default locale apart from the
// decimal separator; each test sets the locale it expects and restores the previous one.
class TestStatFormat : public QObject
{
    Q_OBJECT

private:
    QLocale m_savedLocale;

private slots:
    void initTestCase()
    {
        KestruneTest::guardQtWarnings();
        m_savedLocale = QLocale();
    }
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void cleanup()
    {
        QLocale::setDefault(m_savedLocale);
        KESTRUNE_VERIFY_NO_QT_WARNINGS();
    }

    void durationLeavesOutLeadingZeroUnits_data()
    {
        QTest::addColumn<uint>("seconds");
        QTest::addColumn<QString>("expected");
        QTest::newRow("nothing yet is empty") << 0u << "";
        QTest::newRow("one second") << 1u << "1 s";
        QTest::newRow("last second before a minute") << 59u << "59 s";
        QTest::newRow("a whole minute keeps its zero seconds") << 60u << "1 m 0 s";
        QTest::newRow("minutes and seconds") << 61u << "1 m 1 s";
        QTest::newRow("last second before an hour") << 3599u << "59 m 59 s";
        QTest::newRow("a whole hour keeps zero minutes and seconds") << 3600u << "1 h 0 m 0 s";
        QTest::newRow("hours, minutes, seconds") << 3725u << "1 h 2 m 5 s";
        QTest::newRow("hour with zero minutes between") << 3605u << "1 h 0 m 5 s";
        QTest::newRow("last second before a day") << 86399u << "23 h 59 m 59 s";
        QTest::newRow("a whole day") << 86400u << "1d 0 h 0 m 0 s";
        QTest::newRow("one of every unit") << 90061u << "1d 1 h 1 m 1 s";
        QTest::newRow("many days") << 100u * 86400u + 7u << "100d 0 h 0 m 7 s";
        QTest::newRow("largest count") << 4294967295u << "49710d 6 h 28 m 15 s";
    }
    void durationLeavesOutLeadingZeroUnits()
    {
        QFETCH(uint, seconds);
        QFETCH(QString, expected);
        QCOMPARE(formatDuration(seconds), expected);
    }

    void sizeUsesTheLargestUnitStrictlyExceeded_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("nothing") << qint64(0) << "0 B";
        QTest::newRow("a few bytes") << qint64(5) << "5 B";
        QTest::newRow("just below a kilobyte") << qint64(1023) << "1023 B";
        QTest::newRow("exactly a kilobyte stays in bytes") << qint64(1024) << "1024 B";
        QTest::newRow("one byte over a kilobyte") << qint64(1025) << "1.0 KB";
        QTest::newRow("one and a half kilobytes") << qint64(1536) << "1.5 KB";
        QTest::newRow("rounds to one decimal") << qint64(1997) << "2.0 KB";
        QTest::newRow("exactly a megabyte stays in kilobytes, ungrouped")
            << qint64(1048576) << "1024.0 KB";
        QTest::newRow("one byte over a megabyte") << qint64(1048577) << "1.0 MB";
        QTest::newRow("largest int total") << qint64(2147483647) << "2048.0 MB";
        QTest::newRow("beyond an int: five gigabytes") << qint64(5) * 1073741824 << "5120.0 MB";
        QTest::newRow("a petabyte has no group separator")
            << (qint64(1) << 50) << "1073741824.0 MB";
        QTest::newRow("negative count is written as it is") << qint64(-5) << "-5 B";
    }
    void sizeUsesTheLargestUnitStrictlyExceeded()
    {
        QFETCH(qint64, bytes);
        QFETCH(QString, expected);
        QCOMPARE(formatSize(bytes), expected);
    }

    void sizeAcceptsAnIntCounter()
    {
        // The connection sequence keeps its totals in int counters.
        const int total = 3 * 1048576;
        QCOMPARE(formatSize(total), QStringLiteral("3.0 MB"));
    }

    void speedCountsBitsPerSecond_data()
    {
        QTest::addColumn<qint64>("bytesPerSecond");
        QTest::addColumn<QString>("expected");
        QTest::newRow("idle") << qint64(0) << "0 b/s";
        QTest::newRow("one byte is eight bits") << qint64(1) << "8 b/s";
        QTest::newRow("hundred bytes") << qint64(100) << "800 b/s";
        QTest::newRow("exactly a kilobit stays in bits") << qint64(128) << "1024 b/s";
        QTest::newRow("one byte over a kilobit") << qint64(129) << "1.0 Kb/s";
        QTest::newRow("exactly a megabit stays in kilobits, ungrouped")
            << qint64(131072) << "1024.0 Kb/s";
        QTest::newRow("one byte over a megabit") << qint64(131073) << "1.0 Mb/s";
        QTest::newRow("a gigabit link") << qint64(134217728) << "1024.0 Mb/s";
        QTest::newRow("bits of the largest int do not wrap")
            << qint64(2147483647) << "16384.0 Mb/s";
        QTest::newRow("bits of the largest 64-bit count do not wrap")
            << std::numeric_limits<qint64>::max() << "70368744177664.0 Mb/s";
        QTest::newRow("negative count is written as it is") << qint64(-2) << "-16 b/s";
    }
    void speedCountsBitsPerSecond()
    {
        QFETCH(qint64, bytesPerSecond);
        QFETCH(QString, expected);
        QCOMPARE(formatSpeed(bytesPerSecond), expected);
    }

    void decimalsFollowTheDefaultLocaleWithoutGrouping_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("speed");
        const QLocale english(QLocale::English, QLocale::UnitedStates);
        const QLocale russian(QLocale::Russian, QLocale::Russia);
        const QLocale german(QLocale::German, QLocale::Germany);
        QTest::newRow("English decimal point") << english << qint64(1536) << "1.5 KB"
                                               << "12.0 Kb/s";
        QTest::newRow("Russian decimal comma") << russian << qint64(1536) << "1,5 KB"
                                               << "12,0 Kb/s";
        QTest::newRow("English thousands ungrouped") << english << qint64(1048576) << "1024.0 KB"
                                                     << "8.0 Mb/s";
        QTest::newRow("Russian thousands ungrouped") << russian << qint64(1048576) << "1024,0 KB"
                                                     << "8,0 Mb/s";
        QTest::newRow("German groups with dots, none here") << german << qint64(1258291) << "1,2 MB"
                                                            << "9,6 Mb/s";
        QTest::newRow("German thousands ungrouped") << german << qint64(2147483647) << "2048,0 MB"
                                                    << "16384,0 Mb/s";
    }
    void decimalsFollowTheDefaultLocaleWithoutGrouping()
    {
        QFETCH(QLocale, locale);
        QFETCH(qint64, bytes);
        QFETCH(QString, size);
        QFETCH(QString, speed);
        QLocale::setDefault(locale);
        QCOMPARE(formatSize(bytes), size);
        QCOMPARE(formatSpeed(bytes), speed);
    }
};

KESTRUNE_TEST_MAIN(TestStatFormat)
#include "tst_statformat.moc"
