#pragma once

#include "window/mainwindow.h"
#include "support/qtwarningguard.h"
#include "ui/slidingstackedwidget.h"

#include <functional>
#include <memory>

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

// Helpers shared by the main window suites.
namespace WindowFixture {

// The offscreen platform cannot raise windows and says so each time the window raises
// itself; that is the test platform talking, not the client.
inline void allowRaises(int count)
{
    for (int i = 0; i < count; ++i)
        KestruneTest::expectQtWarning(
            QRegularExpression(QStringLiteral("^This plugin does not support raise\\(\\)$")));
}

// A window over the given data folder, shown by its own start-up check as at a real start.
inline std::unique_ptr<MainWindow> makeWindow(const QString &dataDir)
{
    allowRaises(1);
    // A sign-in started by these tests goes to a closed loopback port and fails at once,
    // never to the built-in service.
    ServiceEndpoints closed;
    closed.apiBase = closed.siteBase = closed.emergencyBase = closed.ipEchoBase
        = QStringLiteral("http://127.0.0.1:9");
    auto window = std::make_unique<MainWindow>(dataDir, closed);
    MainWindow *w = window.get();
    if (!QTest::qWaitFor([w]() { return w->isVisible(); }, 2000))
        qWarning("the main window did not show itself");
    return window;
}

inline SlidingStackedWidget *mainStack(MainWindow *w)
{
    return w->findChild<SlidingStackedWidget *>(QStringLiteral("stackedWidget"));
}

// Changes the page without a slide, as the client does where it jumps.
inline void jump(MainWindow *w, int page)
{
    mainStack(w)->setCurrentIndex(page);
}

// Runs the action and waits, within a bound, for the page slide it starts to end on
// expectedPage.
inline bool slideBy(MainWindow *w, const std::function<void()> &action, int expectedPage)
{
    QSignalSpy finished(mainStack(w), SIGNAL(animationFinished()));
    action();
    if (!finished.wait(3000)) {
        qWarning("the page did not slide");
        return false;
    }
    if (mainStack(w)->currentIndex() != expectedPage) {
        qWarning("the slide ended on page %d instead of %d", mainStack(w)->currentIndex(),
                 expectedPage);
        return false;
    }
    return true;
}

} // namespace WindowFixture
