#include "ui/keyboardfocusring.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QPainter>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QWidget>

namespace {

// Dark on the white pages and on the orange buttons alike.
const QColor RingColour(0x2b, 0x2b, 0x2b);
const qreal RingWidth = 2.0;

// The ring itself: a frame drawn along the edge of its parent, transparent to the mouse.
class RingWidget : public QWidget
{
public:
    explicit RingWidget(QWidget *parent)
        : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        setObjectName(QStringLiteral("keyboardFocusRing"));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(RingColour, RingWidth));
        painter.setBrush(Qt::NoBrush);
        const QRectF box
            = QRectF(rect()).adjusted(RingWidth / 2, RingWidth / 2, -RingWidth / 2, -RingWidth / 2);
        // Round buttons and fields get a round ring; lists a slightly rounded one.
        const bool list = qobject_cast<QAbstractItemView *>(parentWidget()) != nullptr;
        const qreal radius = qMin(qMin(box.width(), box.height()) / 2, list ? 6.0 : 18.0);
        painter.drawRoundedRect(box, radius, radius);
    }
};

bool isKeyboardReason(Qt::FocusReason reason)
{
    return reason != Qt::MouseFocusReason;
}

} // namespace

KeyboardFocusRing::KeyboardFocusRing(QWidget *window)
    : QObject(window)
    , m_window(window)
{
    qApp->installEventFilter(this);
}

bool KeyboardFocusRing::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::MouseButtonPress && type != QEvent::FocusIn
        && type != QEvent::FocusOut && type != QEvent::Resize)
        return false;
    if (!watched->isWidgetType())
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    if (widget == m_ring || widget->window() != m_window)
        return false;

    switch (type) {
    case QEvent::KeyPress:
        m_keyboard = true;
        if (QWidget *focus = QApplication::focusWidget(); focus && focus->window() == m_window)
            mark(focus);
        break;
    case QEvent::MouseButtonPress:
        m_keyboard = false;
        clear();
        break;
    case QEvent::FocusIn:
        if (!isKeyboardReason(static_cast<QFocusEvent *>(event)->reason()))
            m_keyboard = false;
        if (m_keyboard)
            mark(widget);
        else
            clear();
        break;
    case QEvent::FocusOut:
        if (widget == m_target)
            clear();
        break;
    default: // a resize
        if (widget == m_target)
            place();
        break;
    }
    return false;
}

void KeyboardFocusRing::mark(QWidget *widget)
{
    if (widget != m_target) {
        clear();
        m_target = widget;
        widget->setProperty(Property, true);
    }
    if (!m_ring)
        m_ring = new RingWidget(widget);
    else if (m_ring->parentWidget() != widget)
        m_ring->setParent(widget);
    place();
    m_ring->show();
    m_ring->raise();
    if (auto *view = qobject_cast<QAbstractItemView *>(widget))
        view->viewport()->update();
}

void KeyboardFocusRing::clear()
{
    if (m_ring)
        m_ring->hide();
    if (!m_target)
        return;
    m_target->setProperty(Property, false);
    if (auto *view = qobject_cast<QAbstractItemView *>(m_target.data()))
        view->viewport()->update();
    m_target = nullptr;
}

void KeyboardFocusRing::place()
{
    if (!m_ring || !m_target)
        return;
    QRect area = m_target->rect();
    // A check box or radio button may be much wider than what it shows (the settings' boxes
    // stand at the right end of their rows): the ring goes round the box and its text.
    auto *box = qobject_cast<QAbstractButton *>(m_target.data());
    const bool radio = qobject_cast<QRadioButton *>(box) != nullptr;
    if (radio || qobject_cast<QCheckBox *>(box)) {
        QStyleOptionButton option;
        option.initFrom(box);
        option.text = box->text();
        const QStyle *style = box->style();
        const QRect indicator = style->subElementRect(
            radio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator, &option, box);
        const QRect focus = style->subElementRect(
            radio ? QStyle::SE_RadioButtonFocusRect : QStyle::SE_CheckBoxFocusRect, &option, box);
        const QRect shown = indicator.united(focus);
        if (shown.isValid())
            area = shown.adjusted(-3, -3, 3, 3) & area;
    }
    m_ring->setGeometry(area);
}
