#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

// Shows where the keyboard is: while the user works the window with the keyboard, the widget
// that has the focus gets a dark ring drawn over its edge and the dynamic property
// "keyboardFocus" (list delegates read it to outline the current row). A mouse press in the
// window takes the ring away again, so pointing and clicking keep their look.
class KeyboardFocusRing : public QObject
{
public:
    // Watches the events of every widget of `window` (an application event filter); owned by
    // the window.
    explicit KeyboardFocusRing(QWidget *window);

    static constexpr const char *Property = "keyboardFocus";
    // The widget the ring is on now, if any.
    QWidget *target() const { return m_target; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void mark(QWidget *widget);
    void clear();
    void place();

    QWidget *m_window;
    QPointer<QWidget> m_target;
    QPointer<QWidget> m_ring;
    bool m_keyboard = false;
};
