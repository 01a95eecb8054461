#include "support/testmain.h"
#include "ui/loadinganimations.h"
#include "ui/slidingbutton.h"
#include "ui/slidingstackedwidget.h"

#include <memory>

#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QParallelAnimationGroup>
#include <QPushButton>
#include <QSignalSpy>
#include <QStateMachine>
#include <QTimer>

using Dir = SlidingStackedWidget::t_direction;
Q_DECLARE_METATYPE(SlidingStackedWidget::t_direction)

namespace {

const QString visibleDot = QStringLiteral("<span>.</span>");
const QString hiddenDot = QStringLiteral("<span style=\" color:rgba(0,0,0,0);\">.</span>");
const int W = 300;
const int H = 200;

std::unique_ptr<SlidingStackedWidget> makeStack(int pages, int speed)
{
    auto stack = std::make_unique<SlidingStackedWidget>();
    for (int i = 0; i < pages; ++i) {
        auto *page = new QWidget;
        page->setObjectName(QStringLiteral("page%1").arg(i));
        stack->addWidget(page);
    }
    stack->setFrameShape(QFrame::NoFrame);
    stack->resize(W, H);
    stack->setSpeed(speed);
    stack->setAnimation(QEasingCurve::Linear);
    stack->show();
    return stack;
}

bool slideRunning(const QWidget *stack)
{
    const auto groups = stack->findChildren<QParallelAnimationGroup *>();
    for (const QParallelAnimationGroup *group : groups)
        if (group->state() == QAbstractAnimation::Running)
            return true;
    return false;
}

int visibleDots(const QString &text)
{
    return text.count(visibleDot);
}

} // namespace

class TestSlidingWidgets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void cleanup() { KESTRUNE_VERIFY_NO_QT_WARNINGS(); }

    void nextAndPrevRespectTheWrapSetting_data();
    void nextAndPrevRespectTheWrapSetting();
    void slideEntersFromTheSideOfItsDirection_data();
    void slideEntersFromTheSideOfItsDirection();
    void secondRequestDuringASlideIsDropped();
    void leavingPageIsHiddenAndBackInPlace();
    void requestForCurrentOrMissingPageDoesNothing();

    void toggleKnobIsHalfTheWidth();
    void clicksWhileKnobMovesAreRefused();
    void pressOnTrackFlipsTheToggle();
    void setTextsPutsTheLeftTextOnTheKnob();

    void loadingDotsCycleBeforeParagraphEnd_data();
    void loadingDotsCycleBeforeParagraphEnd();
    void loadingDotsVanishWithoutParagraphEnd();
    void hintRisesIntoPlaceAndFadesIn();
    void opacityEffectBelongsToTheWidget();
};

void TestSlidingWidgets::nextAndPrevRespectTheWrapSetting_data()
{
    QTest::addColumn<bool>("wrap");
    QTest::addColumn<int>("start");
    QTest::addColumn<bool>("forward");
    QTest::addColumn<int>("expected"); // -1: nothing happens

    QTest::newRow("wrap off, next on the last page stays") << false << 2 << true << -1;
    QTest::newRow("wrap off, prev on the first page stays") << false << 0 << false << -1;
    QTest::newRow("wrap on, next on the last page reaches the first") << true << 2 << true << 0;
    QTest::newRow("wrap on, prev on the first page reaches the last") << true << 0 << false << 2;
    QTest::newRow("wrap off, next in the middle moves on") << false << 1 << true << 2;
    QTest::newRow("wrap off, prev in the middle moves back") << false << 1 << false << 0;
}

void TestSlidingWidgets::nextAndPrevRespectTheWrapSetting()
{
    QFETCH(bool, wrap);
    QFETCH(int, start);
    QFETCH(bool, forward);
    QFETCH(int, expected);

    auto stack = makeStack(3, 40);
    stack->setWrap(wrap);
    stack->setCurrentIndex(start);
    QSignalSpy finished(stack.get(), SIGNAL(animationFinished()));

    if (forward)
        stack->slideInNext();
    else
        stack->slideInPrev();

    if (expected < 0) {
        QVERIFY(!slideRunning(stack.get()));
        QCOMPARE(stack->currentIndex(), start);
        QCOMPARE(finished.count(), 0);
        return;
    }
    QVERIFY(finished.wait(2000));
    QCOMPARE(stack->currentIndex(), expected);
}

void TestSlidingWidgets::slideEntersFromTheSideOfItsDirection_data()
{
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("request");
    QTest::addColumn<int>("target");
    QTest::addColumn<QPoint>("entersAt");

    // The arriving page starts one page size away on the side it enters from.
    QTest::newRow("forward enters from the right") << false << 0 << 2 << 2 << QPoint(W, 0);
    QTest::newRow("back enters from the left") << false << 2 << 0 << 0 << QPoint(-W, 0);
    QTest::newRow("idx == count goes to page 0 right-to-left")
        << false << 1 << 3 << 0 << QPoint(W, 0);
    QTest::newRow("idx -1 goes to the last page left-to-right")
        << false << 1 << -1 << 2 << QPoint(-W, 0);
    QTest::newRow("vertical forward enters from the top") << true << 0 << 1 << 1 << QPoint(0, -H);
    QTest::newRow("vertical back enters from the bottom") << true << 2 << 1 << 1 << QPoint(0, H);
    QTest::newRow("vertical idx == count goes to page 0 top-to-bottom")
        << true << 2 << 3 << 0 << QPoint(0, -H);
    QTest::newRow("vertical idx -1 goes to the last page bottom-to-top")
        << true << 0 << -1 << 2 << QPoint(0, H);
}

void TestSlidingWidgets::slideEntersFromTheSideOfItsDirection()
{
    QFETCH(bool, vertical);
    QFETCH(int, start);
    QFETCH(int, request);
    QFETCH(int, target);
    QFETCH(QPoint, entersAt);

    auto stack = makeStack(3, 150);
    stack->setVerticalMode(vertical);
    stack->setCurrentIndex(start);
    QSignalSpy finished(stack.get(), SIGNAL(animationFinished()));

    stack->slideInIdx(request);
    QCOMPARE(stack->widget(target)->pos(), entersAt);
    QVERIFY(stack->widget(target)->isVisible());
    QCOMPARE(stack->currentIndex(), start); // the index changes only when the slide ends

    QVERIFY(finished.wait(2000));
    QCOMPARE(stack->currentIndex(), target);
    QCOMPARE(stack->widget(target)->pos(), QPoint(0, 0));
}

void TestSlidingWidgets::secondRequestDuringASlideIsDropped()
{
    auto stack = makeStack(3, 150);
    QSignalSpy finished(stack.get(), SIGNAL(animationFinished()));
    bool secondIssued = false;

    stack->slideInIdx(1);
    QTimer::singleShot(10, stack.get(), [&]() {
        stack->slideInIdx(2);
        secondIssued = true;
    });

    QVERIFY(finished.wait(2000));
    QVERIFY(secondIssued);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(stack->currentIndex(), 1);
    // Had the request been queued, its slide would be under way now.
    QVERIFY(!slideRunning(stack.get()));
    QVERIFY(stack->widget(2)->isHidden());
}

void TestSlidingWidgets::leavingPageIsHiddenAndBackInPlace()
{
    auto stack = makeStack(3, 40);
    QSignalSpy finished(stack.get(), SIGNAL(animationFinished()));

    stack->slideInIdx(1);
    QVERIFY(finished.wait(2000));
    QVERIFY(stack->widget(0)->isHidden());
    QCOMPARE(stack->widget(0)->pos(), QPoint(0, 0));

    // A later slide from the page that left starts from a clean layout.
    stack->slideInIdx(0);
    QVERIFY(finished.wait(2000));
    QCOMPARE(stack->currentIndex(), 0);
    QVERIFY(stack->widget(1)->isHidden());
    QCOMPARE(stack->widget(1)->pos(), QPoint(0, 0));
    QCOMPARE(stack->widget(0)->geometry(), QRect(0, 0, W, H));
}

void TestSlidingWidgets::requestForCurrentOrMissingPageDoesNothing()
{
    auto empty = makeStack(0, 40);
    empty->slideInIdx(0);
    empty->slideInNext();
    QVERIFY(!slideRunning(empty.get()));

    auto stack = makeStack(2, 40);
    QSignalSpy finished(stack.get(), SIGNAL(animationFinished()));
    stack->slideInIdx(0);
    QVERIFY(!slideRunning(stack.get()));
    QCOMPARE(finished.count(), 0);
    // The refused request left the stack idle, so the next one runs.
    stack->slideInIdx(1);
    QVERIFY(finished.wait(2000));
    QCOMPARE(stack->currentIndex(), 1);
}

void TestSlidingWidgets::toggleKnobIsHalfTheWidth()
{
    SlidingButton toggle(251, 38, nullptr);
    toggle.setTexts(QStringLiteral("Servers"), QStringLiteral("Favorites"));
    toggle.show();
    auto *knob = toggle.findChild<QPushButton *>(QStringLiteral("button"));
    QVERIFY(knob);
    QCOMPARE(knob->size(), QSize(125, 38));
    QCOMPARE(knob->pos(), QPoint(0, 0));
    QTRY_VERIFY_WITH_TIMEOUT(toggle.findChild<QStateMachine *>()->isRunning(), 2000);

    knob->click();
    QTRY_COMPARE_WITH_TIMEOUT(knob->geometry(), QRect(125, 0, 125, 38), 2000);
}

void TestSlidingWidgets::clicksWhileKnobMovesAreRefused()
{
    SlidingButton toggle(251, 38, nullptr);
    toggle.setTexts(QStringLiteral("Servers"), QStringLiteral("Favorites"));
    toggle.show();
    auto *knob = toggle.findChild<QPushButton *>(QStringLiteral("button"));
    QTRY_VERIFY_WITH_TIMEOUT(toggle.findChild<QStateMachine *>()->isRunning(), 2000);
    QSignalSpy clicked(&toggle, SIGNAL(buttonClicked()));

    QElapsedTimer burst;
    burst.start();
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(knob, Qt::LeftButton);
    QVERIFY(burst.elapsed() < 100);

    QCOMPARE(clicked.count(), 1);
    QCOMPARE(knob->text(), QStringLiteral("Favorites"));
    QTRY_COMPARE_WITH_TIMEOUT(knob->x(), 125, 2000);

    // Once the knob has arrived it takes clicks again, and goes back.
    QTRY_VERIFY_WITH_TIMEOUT(!knob->signalsBlocked(), 2000);
    QTest::mouseClick(knob, Qt::LeftButton);
    QCOMPARE(clicked.count(), 2);
    QCOMPARE(knob->text(), QStringLiteral("Servers"));
    QTRY_COMPARE_WITH_TIMEOUT(knob->x(), 0, 2000);
}

void TestSlidingWidgets::pressOnTrackFlipsTheToggle()
{
    SlidingButton toggle(230, 38, nullptr);
    toggle.setTexts(QStringLiteral("Servers"), QStringLiteral("Favorites"));
    toggle.show();
    auto *knob = toggle.findChild<QPushButton *>(QStringLiteral("button"));
    auto *track = toggle.findChild<QWidget *>(QStringLiteral("backGroundWidget"));
    QTRY_VERIFY_WITH_TIMEOUT(toggle.findChild<QStateMachine *>()->isRunning(), 2000);
    QSignalSpy clicked(&toggle, SIGNAL(buttonClicked()));

    // The right label lets the press through to the track.
    auto *rightLabel = toggle.findChild<QLabel *>(QStringLiteral("rightValueLabel"));
    QVERIFY(rightLabel->testAttribute(Qt::WA_TransparentForMouseEvents));
    QTest::mousePress(track, Qt::LeftButton, Qt::NoModifier, QPoint(180, 19));
    QTest::mouseRelease(track, Qt::LeftButton, Qt::NoModifier, QPoint(180, 19));

    QCOMPARE(clicked.count(), 1);
    QCOMPARE(knob->text(), QStringLiteral("Favorites"));
    QTRY_COMPARE_WITH_TIMEOUT(knob->x(), 115, 2000);
}

void TestSlidingWidgets::setTextsPutsTheLeftTextOnTheKnob()
{
    SlidingButton toggle(200, 30, nullptr);
    auto *knob = toggle.findChild<QPushButton *>(QStringLiteral("button"));
    toggle.setTexts(QStringLiteral("Left"), QStringLiteral("Right"));
    QCOMPARE(knob->text(), QStringLiteral("Left"));
    QCOMPARE(toggle.findChild<QLabel *>(QStringLiteral("leftValueLabel"))->text(),
             QStringLiteral("Left"));
    QCOMPARE(toggle.findChild<QLabel *>(QStringLiteral("rightValueLabel"))->text(),
             QStringLiteral("Right"));
    QCOMPARE(toggle.size(), QSize(200, 30));
    QCOMPARE(toggle.findChild<QWidget *>(QStringLiteral("backGroundWidget"))->geometry(),
             QRect(0, 0, 200, 30));
}

void TestSlidingWidgets::loadingDotsCycleBeforeParagraphEnd_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("suffix");

    QTest::newRow("a word in one paragraph")
        << QStringLiteral("<p>Loading</p>") << QStringLiteral("<p>Loading")
        << QStringLiteral("</p>");
    QTest::newRow("waiting page text with its hidden dots")
        << (QStringLiteral("<p><span style=\" font-size:13px;\">Loading packages</span>")
            + hiddenDot.repeated(3) + QStringLiteral("</p>"))
        << QStringLiteral("<p><span style=\" font-size:13px;\">Loading packages</span>")
        << QStringLiteral("</p>");
    QTest::newRow("dots go before the first paragraph end only")
        << QStringLiteral("<p>One</p><p>Two</p>") << QStringLiteral("<p>One")
        << QStringLiteral("</p><p>Two</p>");
}

void TestSlidingWidgets::loadingDotsCycleBeforeParagraphEnd()
{
    QFETCH(QString, text);
    QFETCH(QString, prefix);
    QFETCH(QString, suffix);

    QLabel label;
    label.setText(text);
    for (int expected : {1, 2, 3, 0, 1}) {
        updateLoadingDots(&label);
        const QString dots = visibleDot.repeated(expected) + hiddenDot.repeated(3 - expected);
        QCOMPARE(label.text(), prefix + dots + suffix);
        QCOMPARE(visibleDots(label.text()), expected);
    }
}

void TestSlidingWidgets::loadingDotsVanishWithoutParagraphEnd()
{
    QLabel label;
    label.setText(QStringLiteral("Loading") + visibleDot + hiddenDot.repeated(2));
    updateLoadingDots(&label);
    QCOMPARE(label.text(), QStringLiteral("Loading"));
}

void TestSlidingWidgets::hintRisesIntoPlaceAndFadesIn()
{
    QWidget parent;
    parent.resize(300, 470);
    auto *hint = new QLabel(QStringLiteral("hint"), &parent);
    hint->setGeometry(40, 400, 200, 30);
    hint->hide();
    parent.show();
    installOpacityEffect(hint);
    auto *effect = qobject_cast<QGraphicsOpacityEffect *>(hint->graphicsEffect());

    slideFadeIn(hint, 405, 60);
    QVERIFY(hint->isVisible());
    QCOMPARE(hint->graphicsEffect(), effect); // the installed effect is reused
    QVERIFY(effect->opacity() < 0.5);
    QVERIFY(hint->y() > 405);

    QTRY_COMPARE_WITH_TIMEOUT(hint->geometry(), QRect(0, 405, 200, 30), 2000);
    QTRY_COMPARE_WITH_TIMEOUT(effect->opacity(), 1.0, 2000);
    QTRY_VERIFY_WITH_TIMEOUT(hint->findChildren<QParallelAnimationGroup *>().isEmpty(), 2000);
}

void TestSlidingWidgets::opacityEffectBelongsToTheWidget()
{
    QLabel label;
    installOpacityEffect(&label);
    auto *effect = qobject_cast<QGraphicsOpacityEffect *>(label.graphicsEffect());
    QVERIFY(effect);
    QCOMPARE(effect->parent(), &label);
    QCOMPARE(effect->opacity(), 1.0);

    // Without an installed effect the rise creates its own.
    QWidget parent;
    auto *bare = new QLabel(&parent);
    slideFadeIn(bare, 0, 10);
    QVERIFY(qobject_cast<QGraphicsOpacityEffect *>(bare->graphicsEffect()));
}

KESTRUNE_TEST_MAIN(TestSlidingWidgets)
#include "tst_slidingwidgets.moc"
