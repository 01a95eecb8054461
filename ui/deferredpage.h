#pragma once

#include <QWidget>

class QStackedWidget;

// The place of a stack's page that joins the window only when it is first shown (or joined
// before, by hand). Until then the page waits outside the window, built but never styled:
// neither the window's style sheet nor its first show spend anything on pages nobody has
// looked at yet. The place keeps the page's index in the stack, and the page keeps its own
// widgets, so every pointer to them stays valid; however the stack is moved to the page (an
// index set, a slide, the window shown), the page is in place before it is seen.
class DeferredPage : public QWidget
{
    Q_OBJECT

public:
    // Takes `page` out of `stack` and puts its place at the same index. `page` must be one
    // of the stack's pages, not the current one.
    static DeferredPage *defer(QStackedWidget *stack, QWidget *page);
    // A page that never joined goes with its place.
    ~DeferredPage() override;

    // The object named `name` of type T under `window`, on a page that has joined or not yet
    // (for tools and tests that drive the window by its controls' names); null when none.
    template<typename T> static T *find(const QWidget *window, const QString &name)
    {
        return static_cast<T *>(findNamed(window, name, T::staticMetaObject));
    }

    QWidget *page() const { return m_page; }
    bool hasJoined() const { return m_joined; }
    // Brings the page into its place now, styled as the window is, shown when its place is;
    // nothing once it has joined.
    void join();

protected:
    void showEvent(QShowEvent *event) override;

private:
    explicit DeferredPage(QWidget *page);
    static QObject *findNamed(const QWidget *window, const QString &name, const QMetaObject &type);

    QWidget *m_page;
    bool m_joined = false;
};
