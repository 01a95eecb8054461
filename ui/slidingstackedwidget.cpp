#include "ui/slidingstackedwidget.h"

#include <QParallelAnimationGroup>
#include <QPropertyAnimation>

SlidingStackedWidget::SlidingStackedWidget(QWidget *parent)
    : QStackedWidget(parent)
{ }

void SlidingStackedWidget::setSpeed(int speed)
{
    this->speed = speed;
}

void SlidingStackedWidget::setAnimation(QEasingCurve::Type animationtype)
{
    this->animationtype = animationtype;
}

void SlidingStackedWidget::setVerticalMode(bool vertical)
{
    this->vertical = vertical;
}

void SlidingStackedWidget::setWrap(bool wrap)
{
    this->wrap = wrap;
}

void SlidingStackedWidget::slideInNext()
{
    const int current = currentIndex();
    if (wrap || current < count() - 1)
        slideInIdx(current + 1);
}

void SlidingStackedWidget::slideInPrev()
{
    const int current = currentIndex();
    if (wrap || current > 0)
        slideInIdx(current - 1);
}

void SlidingStackedWidget::slideInIdx(int idx, t_direction direction)
{
    const int pages = count();
    if (pages == 0)
        return;
    // Wrapping forward always moves on in the forward sense and wrapping back in the
    // backward sense, even though the target page lies on the other side.
    if (idx >= pages) {
        direction = vertical ? TopToBottom : RightToLeft;
        idx = idx % pages;
    } else if (idx < 0) {
        direction = vertical ? BottomToTop : LeftToRight;
        idx = ((idx % pages) + pages) % pages;
    }
    slideInWidget(widget(idx), direction);
}

void SlidingStackedWidget::slideInWidget(QWidget *newWidget, t_direction direction)
{
    if (active)
        return;
    active = true;

    const int nowIdx = currentIndex();
    const int nextIdx = indexOf(newWidget);
    if (nowIdx == nextIdx || nextIdx < 0 || nowIdx < 0) {
        active = false;
        return;
    }

    if (direction == Automatic) {
        if (vertical)
            direction = nowIdx < nextIdx ? TopToBottom : BottomToTop;
        else
            direction = nowIdx < nextIdx ? RightToLeft : LeftToRight;
    }

    const int w = frameRect().width();
    const int h = frameRect().height();
    QWidget *nowPage = widget(nowIdx);
    QWidget *nextPage = widget(nextIdx);
    nextPage->setGeometry(0, 0, w, h);

    QPoint offset;
    switch (direction) {
    case LeftToRight:
        offset = QPoint(w, 0);
        break;
    case RightToLeft:
        offset = QPoint(-w, 0);
        break;
    case TopToBottom:
        offset = QPoint(0, h);
        break;
    case BottomToTop:
    default:
        offset = QPoint(0, -h);
        break;
    }

    const QPoint pNext = nextPage->pos();
    pNow = nowPage->pos();

    nextPage->move(pNext - offset);
    nextPage->show();
    nextPage->raise();

    auto *nowAnim = new QPropertyAnimation(nowPage, "pos");
    nowAnim->setDuration(speed);
    nowAnim->setEasingCurve(animationtype);
    nowAnim->setStartValue(pNow);
    nowAnim->setEndValue(pNow + offset);

    auto *nextAnim = new QPropertyAnimation(nextPage, "pos");
    nextAnim->setDuration(speed);
    nextAnim->setEasingCurve(animationtype);
    nextAnim->setStartValue(pNext - offset);
    nextAnim->setEndValue(pNext);

    // The group owns both animations and deletes itself once the slide is over.
    auto *group = new QParallelAnimationGroup(this);
    group->addAnimation(nowAnim);
    group->addAnimation(nextAnim);
    connect(group, SIGNAL(finished()), this, SLOT(animationDoneSlot()));

    now = nowIdx;
    next = nextIdx;
    group->start(QAbstractAnimation::DeleteWhenStopped);
}

void SlidingStackedWidget::animationDoneSlot()
{
    setCurrentIndex(next);
    QWidget *left = widget(now);
    if (left) {
        left->hide();
        left->move(pNow);
    }
    active = false;
    emit animationFinished();
}
