#pragma once

#include <QEasingCurve>
#include <QPoint>
#include <QStackedWidget>

// A page stack whose pages slide in and out instead of jumping. setCurrentIndex() still
// changes the page at once where no animation is wanted.
class SlidingStackedWidget : public QStackedWidget
{
    Q_OBJECT

public:
    enum t_direction { LeftToRight, RightToLeft, TopToBottom, BottomToTop, Automatic };

    explicit SlidingStackedWidget(QWidget *parent = nullptr);

    void slideInWidget(QWidget *newWidget, t_direction direction);
    // A slide runs: the page on show is still the one that leaves.
    bool isSliding() const { return active; }

public slots:
    void setSpeed(int speed);
    void setAnimation(QEasingCurve::Type animationtype);
    void setVerticalMode(bool vertical = true);
    void setWrap(bool wrap);

    void slideInNext();
    void slideInPrev();
    void slideInIdx(int idx, t_direction direction = Automatic);

signals:
    void animationFinished();

protected slots:
    void animationDoneSlot();

private:
    int speed = 500;
    QEasingCurve::Type animationtype = QEasingCurve::OutBack;
    bool vertical = false;
    int now = 0;
    int next = 0;
    bool wrap = false;
    QPoint pNow = QPoint(0, 0);
    bool active = false;
};
