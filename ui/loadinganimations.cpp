#include "ui/loadinganimations.h"

#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>

namespace {

const QString visibleDot = QStringLiteral("<span>.</span>");
// A hidden dot keeps its width, so the text does not move while the dots fill.
const QString hiddenDot = QStringLiteral("<span style=\" color:rgba(0,0,0,0);\">.</span>");

} // namespace

void updateLoadingDots(QLabel *label)
{
    if (!label)
        return;
    QString text = label->text();

    int visible = 0;
    for (int n = 3; n >= 1; --n) {
        if (text.contains(visibleDot.repeated(n))) {
            visible = n;
            break;
        }
    }

    text.remove(visibleDot);
    text.remove(hiddenDot);

    const int shown = visible < 3 ? visible + 1 : 0;
    const QString dots = visibleDot.repeated(shown) + hiddenDot.repeated(3 - shown);

    const int end = text.indexOf(QLatin1String("</p>"));
    if (end >= 0)
        text.insert(end, dots);
    label->setText(text);
}

void slideFadeIn(QWidget *widget, const int &targetY, const int &durationMs)
{
    if (!widget)
        return;
    auto *effect = qobject_cast<QGraphicsOpacityEffect *>(widget->graphicsEffect());
    if (!effect) {
        effect = new QGraphicsOpacityEffect(widget);
        widget->setGraphicsEffect(effect);
    }

    auto *group = new QParallelAnimationGroup(widget);

    auto *fade = new QPropertyAnimation(effect, "opacity");
    fade->setDuration(durationMs);
    fade->setEasingCurve(QEasingCurve::Linear);
    fade->setStartValue(0.0);
    fade->setEndValue(1.0);

    const QRect start(widget->x(), widget->y() + 25, widget->width(), widget->height());
    const QRect end(0, targetY, widget->width(), widget->height());
    auto *rise = new QPropertyAnimation(widget, "geometry");
    rise->setDuration(durationMs);
    rise->setEasingCurve(QEasingCurve::Linear);
    rise->setStartValue(start);
    rise->setEndValue(end);

    group->addAnimation(fade);
    group->addAnimation(rise);

    effect->setOpacity(0.0);
    widget->setVisible(true);
    group->start(QAbstractAnimation::DeleteWhenStopped);
}

void installOpacityEffect(QWidget *widget)
{
    if (!widget)
        return;
    auto *effect = new QGraphicsOpacityEffect(widget);
    effect->setOpacity(1.0);
    widget->setGraphicsEffect(effect);
}
