#include "support/testmain.h"
#include "ui/statwidgetplacement.h"

#include <QScreen>
#include <QWidget>

namespace {
// A 1920 x 1080 screen with a 40 pixel taskbar on each of its edges in turn.
const QRect taskbarBottom(0, 0, 1920, 1040);
const QRect taskbarRight(0, 0, 1880, 1080);
const QRect taskbarTop(0, 40, 1920, 1040);
const QRect taskbarLeft(40, 0, 1880, 1080);
// A second screen right of the first one.
const QRect secondScreen(1920, 0, 1280, 984);
} // namespace

class TestStatWidgetPlacement : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void cleanup() { KESTRUNE_VERIFY_NO_QT_WARNINGS(); }

    void savedPositionIsUsedOnlyWhenWhollyOnScreen_data()
    {
        QTest::addColumn<QPoint>("saved");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<bool>("used");
        QTest::newRow("inside") << QPoint(100, 100) << taskbarBottom << true;
        QTest::newRow("top-left corner") << QPoint(0, 0) << taskbarBottom << true;
        QTest::newRow("right edge touching") << QPoint(1670, 100) << taskbarBottom << true;
        QTest::newRow("bottom edge touching the taskbar")
            << QPoint(100, 840) << taskbarBottom << true;
        QTest::newRow("never saved (-1, -1)") << QPoint(-1, -1) << taskbarBottom << false;
        QTest::newRow("left of the screen") << QPoint(-5, 100) << taskbarBottom << false;
        QTest::newRow("above the screen") << QPoint(100, -1) << taskbarBottom << false;
        QTest::newRow("right edge one pixel beyond") << QPoint(1671, 100) << taskbarBottom << false;
        QTest::newRow("bottom edge under the taskbar")
            << QPoint(100, 841) << taskbarBottom << false;
        QTest::newRow("after the resolution shrank")
            << QPoint(1600, 900) << QRect(0, 0, 1280, 984) << false;
        QTest::newRow("under a taskbar at the left") << QPoint(10, 100) << taskbarLeft << false;
        QTest::newRow("under a taskbar at the top") << QPoint(100, 10) << taskbarTop << false;
        QTest::newRow("on a second screen") << QPoint(2500, 300) << secondScreen << true;
        QTest::newRow("on the first screen while the window is on the second")
            << QPoint(100, 100) << secondScreen << false;
    }
    void savedPositionIsUsedOnlyWhenWhollyOnScreen()
    {
        QFETCH(QPoint, saved);
        QFETCH(QRect, available);
        QFETCH(bool, used);
        QCOMPARE(StatWidgetPlacement::isOnScreen(saved, available), used);
        const QPoint placed = StatWidgetPlacement::position(saved, available);
        QCOMPARE(placed == saved, used);
        QVERIFY(StatWidgetPlacement::isOnScreen(placed, available));
    }

    void defaultPositionKeepsThirtyPixelsFromEdgesAndTaskbar_data()
    {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QPoint>("expected");
        // 1920 - 250 - 30 = 1640, 1040 - 200 - 30 = 810: above the taskbar at the right.
        QTest::newRow("taskbar at the bottom") << taskbarBottom << QPoint(1640, 810);
        // 1880 - 250 - 30 = 1600, 1080 - 200 - 30 = 850: left of the taskbar at the bottom.
        QTest::newRow("taskbar at the right") << taskbarRight << QPoint(1600, 850);
        QTest::newRow("taskbar at the top") << taskbarTop << QPoint(1640, 850);
        QTest::newRow("taskbar at the left") << taskbarLeft << QPoint(1640, 850);
        QTest::newRow("no taskbar") << QRect(0, 0, 1920, 1080) << QPoint(1640, 850);
        QTest::newRow("second screen") << secondScreen << QPoint(2920, 754);
        QTest::newRow("screen too small for the margins") << QRect(0, 0, 260, 210) << QPoint(0, 0);
    }
    void defaultPositionKeepsThirtyPixelsFromEdgesAndTaskbar()
    {
        QFETCH(QRect, available);
        QFETCH(QPoint, expected);
        QCOMPARE(StatWidgetPlacement::defaultPosition(available), expected);
    }

    void placementUsesTheScreenOfTheMainWindow()
    {
        QWidget reference;
        const QRect available = reference.screen()->availableGeometry();
        QVERIFY(!available.isEmpty());
        QCOMPARE(StatWidgetPlacement::positionNear(QPoint(-1, -1), &reference),
                 StatWidgetPlacement::defaultPosition(available));
        QCOMPARE(StatWidgetPlacement::positionNear(QPoint(-1, -1), nullptr),
                 StatWidgetPlacement::defaultPosition(available));
        QCOMPARE(StatWidgetPlacement::positionNear(available.topLeft(), &reference),
                 available.topLeft());
    }
};

KESTRUNE_TEST_MAIN(TestStatWidgetPlacement)
#include "tst_statwidgetplacement.moc"
