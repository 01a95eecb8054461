#include "support/testmain.h"
#include "ui/statformat.h"
#include "ui/statwidget.h"
#include "ui/statwidgetplacement.h"

#include <QLabel>
#include <QPointer>
#include <QScreen>

namespace {

// A 1920 x 1080 screen with a 40 pixel taskbar at the bottom or right, and a
// second screen right of it.
const QRect taskbarBottom(0, 0, 1920, 1040);
const QRect taskbarRight(0, 0, 1880, 1080);
const QRect secondScreen(1920, 0, 1280, 984);

// A mouse event as a user's arrives: at the widget under the cursor (labels let it
// through), with positions measured from wherever that widget is by then; a release that
// closes the window comes from the event loop, as a user's does.
void mouse(QWidget *to, QEvent::Type type, const QPoint &global, bool fromLoop = false)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held
        = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    auto *event = new QMouseEvent(type, to->mapFromGlobal(global), global, button, held, {});
    if (fromLoop)
        return QCoreApplication::postEvent(to, event);
    QApplication::sendEvent(to, event);
    delete event;
}

} // namespace

class TestStatWindow : public QObject
{
    Q_OBJECT

    QPointer<StatWidget> m_window;

    StatWidget *openAt(const QPoint &pos)
    {
        m_window = new StatWidget(QVariantList {pos}, nullptr);
        m_window->show();
        return QTest::qWaitForWindowExposed(m_window) ? m_window.data() : nullptr;
    }

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void cleanup()
    {
        delete m_window;
        QLocale::setDefault(QLocale::system());
        // The offscreen platform cannot raise a window or change its opacity and says so.
        const QStringList warnings = KestruneTest::takeUnexpectedQtWarnings().filter(
            QRegularExpression("^(?!This plugin does not support)"));
        QVERIFY2(warnings.isEmpty(), qPrintable("Qt warned: " + warnings.join(" | ")));
    }

    void durationLeavesOutLeadingZeroUnits_data()
    {
        QTest::addColumn<uint>("seconds");
        QTest::addColumn<QString>("expected");
        QTest::newRow("nothing yet is empty") << 0u << "";
        QTest::newRow("a whole minute keeps its zero seconds") << 60u << "1 m 0 s";
        QTest::newRow("zero minutes between hours and seconds") << 3605u << "1 h 0 m 5 s";
        QTest::newRow("largest count") << 4294967295u << "49710d 6 h 28 m 15 s";
    }
    void durationLeavesOutLeadingZeroUnits()
    {
        QFETCH(uint, seconds);
        QFETCH(QString, expected);
        QCOMPARE(formatDuration(seconds), expected);
    }

    // A unit is used only once the value strictly exceeds one of it; one decimal with the
    // locale's decimal separator, never a group separator (German would group 2048); no wrap
    // past 32 bits.
    void sizeAndSpeed_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("a kilobit") << "en_US" << qint64(128) << "128 B, 1024 b/s";
        QTest::newRow("a kilobit and one") << "en_US" << qint64(129) << "129 B, 1.0 Kb/s";
        QTest::newRow("a kilobyte") << "en_US" << qint64(1024) << "1024 B, 8.0 Kb/s";
        QTest::newRow("a kilobyte and one") << "en_US" << qint64(1025) << "1.0 KB, 8.0 Kb/s";
        QTest::newRow("German") << "de_DE" << qint64(2147483647) << "2048,0 MB, 16384,0 Mb/s";
    }
    void sizeAndSpeed()
    {
        QFETCH(QString, locale);
        QFETCH(qint64, bytes);
        QFETCH(QString, expected);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(formatSize(bytes) + ", " + formatSpeed(bytes), expected);
    }

    void opensWhereSavedIfWhollyOnScreenElseInTheCorner_data()
    {
        QTest::addColumn<QPoint>("saved");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QPoint>("expected");
        const QPoint corner(1640, 810); // 30 pixels from the right edge and the taskbar
        QTest::newRow("at the right edge")
            << QPoint(1670, 100) << taskbarBottom << QPoint(1670, 100);
        QTest::newRow("never saved") << QPoint(-1, -1) << taskbarBottom << corner;
        QTest::newRow("a pixel beyond") << QPoint(1671, 100) << taskbarBottom << corner;
        QTest::newRow("under the taskbar") << QPoint(100, 841) << taskbarBottom << corner;
        QTest::newRow("taskbar right") << QPoint(1700, 100) << taskbarRight << QPoint(1600, 850);
        QTest::newRow("saved on another screen")
            << QPoint(100, 100) << secondScreen << QPoint(2920, 754);
        QTest::newRow("screen too small") << QPoint(-1, -1) << QRect(0, 0, 260, 210) << QPoint();
    }
    void opensWhereSavedIfWhollyOnScreenElseInTheCorner()
    {
        QFETCH(QPoint, saved);
        QFETCH(QRect, available);
        QFETCH(QPoint, expected);
        QCOMPARE(StatWidgetPlacement::position(saved, available), expected);
    }

    void placementUsesTheScreenOfTheMainWindow()
    {
        QWidget reference;
        const QRect available = reference.screen()->availableGeometry();
        const QPoint corner = StatWidgetPlacement::defaultPosition(available);
        QCOMPARE(StatWidgetPlacement::positionNear(QPoint(-1, -1), nullptr), corner);
        QCOMPARE(StatWidgetPlacement::positionNear(available.topLeft(), &reference),
                 available.topLeft());
    }

    // The main window connects by signature; a renamed slot or signal would only warn.
    void showsTheTextsTheMainWindowSends()
    {
        StatWidget *window = openAt(QPoint(321, 123));
        QVERIFY(window);
        QTRY_COMPARE_WITH_TIMEOUT(window->windowOpacity(), 1.0, 5000);
        QVERIFY(QMetaObject::invokeMethod(window, "dataTimeChanged", Q_ARG(QString, "5 s")));
        QVERIFY(QMetaObject::invokeMethod(window, "dataTrafficChanged", Q_ARG(QString, "1.0 KB"),
                                          Q_ARG(QString, "7 B")));
        QVERIFY(QMetaObject::invokeMethod(window, "dataSpeedChanged", Q_ARG(QString, "8 b/s"),
                                          Q_ARG(QString, "0 b/s")));
        QStringList texts;
        for (const char *name :
             {"timeLabel", "trafficInLabel", "trafficOutLabel", "speedInLabel", "speedOutLabel"})
            texts << window->findChild<QLabel *>(name)->text();
        QCOMPARE(texts, (QStringList {"5 s", "1.0 KB", "7 B", "8 b/s", "0 b/s"}));
    }

    void draggingFromAnywhereButTheCloseButtonMovesTheWindow_data()
    {
        QTest::addColumn<QString>("grip");
        QTest::newRow("a value") << "timeLabel";
        QTest::newRow("the background") << QString();
    }
    void draggingFromAnywhereButTheCloseButtonMovesTheWindow()
    {
        QFETCH(QString, grip);
        StatWidget *window = openAt(QPoint(200, 150));
        QVERIFY(window);
        QWidget *part = grip.isEmpty() ? nullptr : window->findChild<QWidget *>(grip);
        QPoint global = part ? part->mapToGlobal(part->rect().center())
                             : window->mapToGlobal(QPoint(3, window->height() - 3));
        QWidget *target = window->childAt(window->mapFromGlobal(global));
        target = target ? target : window;
        mouse(target, QEvent::MouseButtonPress, global);
        mouse(target, QEvent::MouseMove, global += QPoint(40, 25));
        QCOMPARE(window->pos(), QPoint(240, 175));
        mouse(target, QEvent::MouseMove, global += QPoint(-15, 5));
        mouse(target, QEvent::MouseButtonRelease, global);
        QCOMPARE(window->pos(), QPoint(225, 180));
        mouse(target, QEvent::MouseMove, global += QPoint(60, 60));
        QCOMPARE(window->pos(), QPoint(225, 180));
    }

    void closingReportsThePositionOnceAndDeletesTheWindow_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("close button") << "button";
        QTest::newRow("the main window's request") << "closeWidget";
    }
    void closingReportsThePositionOnceAndDeletesTheWindow()
    {
        QFETCH(QString, how);
        StatWidget *window = openAt(QPoint(64, 48));
        QVERIFY(window);
        QSignalSpy closed(window, SIGNAL(closed(QPoint)));
        if (how == "button") {
            auto *button = window->findChild<QWidget *>("closeButton");
            QPoint global = button->mapToGlobal(button->rect().center());
            mouse(button, QEvent::MouseButtonPress, global);
            mouse(button, QEvent::MouseMove, global += QPoint(1, 1));
            QCOMPARE(window->pos(), QPoint(64, 48));
            mouse(button, QEvent::MouseButtonRelease, global, true);
        } else {
            QVERIFY(QMetaObject::invokeMethod(window, "closeWidget"));
        }
        QVERIFY(closed.wait(5000));
        QCOMPARE(closed.count(), 1);
        QCOMPARE(closed.at(0).at(0).toPoint(), QPoint(64, 48));
        QVERIFY(m_window.isNull());
    }
};

KESTRUNE_TEST_MAIN(TestStatWindow)
#include "tst_statwindow.moc"
