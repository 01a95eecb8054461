// The page stack's slides, the two-way toggle, the loading dots and the rising hint.

#include "support/testmain.h"
#include "ui/deferredpage.h"
#include "ui/loadinganimations.h"
#include "ui/slidingbutton.h"
#include "ui/slidingstackedwidget.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QParallelAnimationGroup>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QStateMachine>

namespace {

const QString VisibleDot = QStringLiteral("<span>.</span>");
const QString HiddenDot = QStringLiteral("<span style=\" color:rgba(0,0,0,0);\">.</span>");
const QSize Size(300, 200);
const int Next = 100;
const int Previous = -100;

std::unique_ptr<SlidingStackedWidget> makeStack(int pages, bool vertical = false)
{
    auto stack = std::make_unique<SlidingStackedWidget>();
    for (int i = 0; i < pages; ++i)
        stack->addWidget(new QWidget);
    stack->setFrameShape(QFrame::NoFrame);
    stack->resize(Size);
    stack->setSpeed(150);
    stack->setAnimation(QEasingCurve::Linear);
    stack->setVerticalMode(vertical);
    stack->show();
    return stack;
}

bool slideRunning(const QWidget *stack)
{
    for (const auto *group : stack->findChildren<QParallelAnimationGroup *>())
        if (group->state() == QAbstractAnimation::Running)
            return true;
    return false;
}

// A toggle whose state machine runs, so it takes clicks.
bool ready(SlidingButton &toggle)
{
    toggle.setTexts(QStringLiteral("Servers"), QStringLiteral("Favorites"));
    toggle.show();
    return QTest::qWaitFor([&]() { return toggle.findChild<QStateMachine *>()->isRunning(); },
                           2000);
}

// A window of three pages whose middle page, deferred, holds fields (Tab order changed) and
// a widget with a style sheet of its own holding a label, as the two-way toggle.
struct PagedWindow
{
    QWidget window;
    SlidingStackedWidget *stack = new SlidingStackedWidget(&window);
    QLineEdit *first = new QLineEdit;
    QWidget *page = new QWidget;
    QLineEdit *field = new QLineEdit(page);
    QLineEdit *last = new QLineEdit(page);
    QLineEdit *middle = new QLineEdit(page);
    QLabel *label = nullptr;
    DeferredPage *place = nullptr;

    PagedWindow()
    {
        window.setFont(QFont(QStringLiteral("Window Sans"), 11));
        stack->setSpeed(150);
        stack->addWidget(first);
        QWidget::setTabOrder(middle, last);
        stack->addWidget(page);
        stack->addWidget(new QWidget);
        auto *styled = new QWidget(page);
        styled->setStyleSheet(QStringLiteral("font: 13px; background: #dddddd;"));
        label = new QLabel(QStringLiteral("Favorites"), styled);
        place = DeferredPage::defer(stack, page);
        window.setStyleSheet(QStringLiteral("QLineEdit { color: #123456; }"));
        stack->resize(Size);
    }
};

} // namespace

class TestSlidingWidgets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void cleanup() { KESTRUNE_VERIFY_NO_QT_WARNINGS(); }

    void slidesFollowTheirRequest_data()
    {
        QTest::addColumn<bool>("wrap");
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("request"); // a page index, or Next / Previous
        QTest::addColumn<int>("target"); // -1: refused
        QTest::addColumn<QPoint>("entersAt"); // one page size away on the side it enters from
        QTest::newRow("no wrap: next on the last page stays")
            << false << false << 2 << Next << -1 << QPoint();
        QTest::newRow("the current page again does nothing")
            << true << false << 1 << 1 << -1 << QPoint();
        QTest::newRow("wrap: next on the last page reaches the first")
            << true << false << 2 << Next << 0 << QPoint(300, 0);
        QTest::newRow("wrap: previous on the first page reaches the last")
            << true << false << 0 << Previous << 2 << QPoint(-300, 0);
        QTest::newRow("forward enters from the right")
            << false << false << 0 << 2 << 2 << QPoint(300, 0);
        QTest::newRow("index -1 is the last page, from the left")
            << false << false << 1 << -1 << 2 << QPoint(-300, 0);
        QTest::newRow("vertical forward enters from the top")
            << false << true << 0 << 1 << 1 << QPoint(0, -200);
    }
    void slidesFollowTheirRequest()
    {
        QFETCH(bool, wrap);
        QFETCH(bool, vertical);
        QFETCH(int, start);
        QFETCH(int, request);
        QFETCH(int, target);
        QFETCH(QPoint, entersAt);
        auto stack = makeStack(3, vertical);
        stack->setWrap(wrap);
        stack->setCurrentIndex(start);
        QSignalSpy finished(stack.get(), SIGNAL(animationFinished()));
        if (request == Next || request == Previous)
            request == Next ? stack->slideInNext() : stack->slideInPrev();
        else
            stack->slideInIdx(request);
        QCOMPARE(slideRunning(stack.get()), target >= 0);
        QCOMPARE(stack->currentIndex(), start); // the index changes when a slide ends
        if (target < 0)
            target = (start + 1) % 3; // a refused request leaves the stack idle for the next
        else
            QCOMPARE(stack->widget(target)->pos(), entersAt);
        // A request during the slide is dropped, not queued.
        stack->slideInIdx(target);
        stack->slideInIdx((target + 1) % 3);
        QVERIFY(finished.wait(2000));
        QCOMPARE(finished.count(), 1);
        QCOMPARE(stack->currentIndex(), target);
        QVERIFY(!slideRunning(stack.get()));
        QCOMPARE(stack->widget(target)->geometry(), QRect(QPoint(0, 0), Size));
        // The page that left is hidden and back in place for a later slide.
        QVERIFY(stack->widget(start)->isHidden());
        QCOMPARE(stack->widget(start)->pos(), QPoint(0, 0));
    }

    void deferredPageIsInPlaceBeforeItIsSeen_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("index set, focus follows") << "index";
        QTest::newRow("slide") << "slide";
        QTest::newRow("window shown on it") << "shown";
    }
    void deferredPageIsInPlaceBeforeItIsSeen()
    {
        QFETCH(QString, how);
        PagedWindow paged;
        QCOMPARE(paged.stack->indexOf(paged.place), 1);
        QCOMPARE(paged.stack->count(), 3);
        if (how == "shown")
            paged.stack->setCurrentIndex(1);
        paged.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&paged.window));
        if (how != "shown") {
            // Nothing of the page is polished while nobody sees it.
            QVERIFY(!paged.field->testAttribute(Qt::WA_WState_Polished));
            QVERIFY(!paged.place->hasJoined());
            paged.window.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&paged.window));
            paged.first->setFocus();
            if (how == "index") {
                paged.stack->setCurrentIndex(1);
                QCOMPARE(QApplication::focusWidget(), paged.field);
            } else {
                QSignalSpy finished(paged.stack, SIGNAL(animationFinished()));
                paged.stack->slideInIdx(1);
                QVERIFY(paged.page->isVisible());
                QVERIFY(finished.wait(2000));
            }
        }
        QVERIFY(paged.place->hasJoined() && paged.field->isVisible());
        QCOMPARE(paged.page->parentWidget(), paged.place);
        QCOMPARE(paged.page->geometry(), QRect(QPoint(0, 0), Size));
        // Styled by the window's sheet, and in the window's font, also inside a widget with a
        // sheet of its own.
        QCOMPARE(paged.field->palette().color(QPalette::Text), QColor(0x12, 0x34, 0x56));
        QCOMPARE(paged.field->font().family(), QStringLiteral("Window Sans"));
        QCOMPARE(paged.label->font().family(), QStringLiteral("Window Sans"));
        QCOMPARE(paged.label->font().pixelSize(), 13);
        // The page's own Tab order came with it.
        QCOMPARE(paged.field->nextInFocusChain(), paged.middle);
        QCOMPARE(paged.middle->nextInFocusChain(), paged.last);
    }

    void deferredPageNeverShownGoesWithTheStack()
    {
        auto stack = makeStack(2);
        QPointer<QWidget> page = stack->widget(1);
        DeferredPage::defer(stack.get(), page);
        stack.reset();
        QVERIFY(page.isNull());
    }

    void toggleRefusesClicksWhileItsKnobMoves()
    {
        SlidingButton toggle(251, 38, nullptr);
        QVERIFY(ready(toggle));
        auto *knob = toggle.findChild<QPushButton *>(QStringLiteral("button"));
        QSignalSpy clicked(&toggle, SIGNAL(buttonClicked()));
        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(knob, Qt::LeftButton);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(knob->text(), QStringLiteral("Favorites"));
        QTRY_COMPARE_WITH_TIMEOUT(knob->geometry(), QRect(125, 0, 125, 38), 2000);
        // Once the knob has arrived it takes presses again, on the track too (the label on
        // it lets them through).
        QTRY_VERIFY_WITH_TIMEOUT(!knob->signalsBlocked(), 2000);
        auto *track = toggle.findChild<QWidget *>(QStringLiteral("backGroundWidget"));
        QTest::mousePress(track, Qt::LeftButton, Qt::NoModifier, QPoint(60, 19));
        QTest::mouseRelease(track, Qt::LeftButton, Qt::NoModifier, QPoint(60, 19));
        QCOMPARE(clicked.count(), 2);
        QCOMPARE(knob->text(), QStringLiteral("Servers"));
        QTRY_COMPARE_WITH_TIMEOUT(knob->x(), 0, 2000);
    }

    void loadingDotsCycleBeforeTheParagraphEnd()
    {
        QLabel label(QStringLiteral("<p>Loading</p><p>more</p>"));
        for (int visible : {1, 2, 3, 0, 1}) {
            updateLoadingDots(&label);
            QCOMPARE(label.text(),
                     "<p>Loading" + VisibleDot.repeated(visible) + HiddenDot.repeated(3 - visible)
                         + "</p><p>more</p>");
        }
        // Without a paragraph end the dots vanish.
        label.setText("Loading" + VisibleDot + HiddenDot.repeated(2));
        updateLoadingDots(&label);
        QCOMPARE(label.text(), QStringLiteral("Loading"));
    }
};

KESTRUNE_TEST_MAIN(TestSlidingWidgets)
#include "tst_slidingwidgets.moc"
