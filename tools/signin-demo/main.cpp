// Usage: kestrune_signin_demo <service base URL> <login> <password> <output folder>
// Builds the main window against the given service, types the credentials into the sign-in
// form, presses the buttons a user would press, and saves "signed-in.png" (the connection
// page) and "signed-in-servers.png" (the server list) in the output folder.

#include "ui/deferredpage.h"
#include "ui/messagedialogs.h"
#include "ui/slidingstackedwidget.h"
#include "window/mainwindow.h"

#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

bool waitFor(const std::function<bool()> &condition, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s <service base URL> <login> <password> <output folder>\n",
                     argv[0]);
        return 2;
    }
    const QString base = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir dataDir;
    if (!dataDir.isValid())
        return 1;
    QStringList dialogs;
    setDialogRunner([&dialogs](QMessageBox *box) {
        dialogs << box->text();
        return int(QMessageBox::Ok);
    });

    ServiceEndpoints endpoints = ServiceEndpoints::builtIn();
    endpoints.apiBase = base;
    endpoints.siteBase = base;
    endpoints.emergencyBase = base;
    endpoints.ipEchoBase = base;
    // The demo's pages are English, whatever the machine's language.
    QFile settingsFile(dataDir.filePath(QStringLiteral("settings.ini")));
    if (!settingsFile.open(QIODevice::WriteOnly)
        || settingsFile.write("[General]\nLanguage=2\n") < 0)
        return 1;
    settingsFile.close();
    MainWindow window(dataDir.path(), endpoints);
    window.show();
    auto *stack
        = DeferredPage::find<SlidingStackedWidget>(&window, QStringLiteral("stackedWidget"));
    const auto on
        = [stack](int page) { return [stack, page]() { return stack->currentIndex() == page; }; };

    DeferredPage::find<QLineEdit>(&window, QStringLiteral("mainLoginLineEdit"))
        ->setText(QString::fromLocal8Bit(argv[2]));
    DeferredPage::find<QLineEdit>(&window, QStringLiteral("mainPswdLineEdit"))
        ->setText(QString::fromLocal8Bit(argv[3]));
    DeferredPage::find<QPushButton>(&window, QStringLiteral("mainLoginButton"))->click();
    if (!waitFor(on(Page_Subscription), 15000)) {
        std::fprintf(stderr, "no subscription page; dialogs: %s\n",
                     qPrintable(dialogs.join(QLatin1Char('|'))));
        return 1;
    }
    DeferredPage::find<QPushButton>(&window, QStringLiteral("subsNextButton"))->click();
    if (!waitFor(on(Page_Connection), 15000)) {
        std::fprintf(stderr, "no connection page; dialogs: %s\n",
                     qPrintable(dialogs.join(QLatin1Char('|'))));
        return 1;
    }
    waitFor([]() { return false; }, 500); // let the page paint
    const QDir out(QString::fromLocal8Bit(argv[4]));
    window.grab().save(out.filePath(QStringLiteral("signed-in.png")));

    stack->setCurrentIndex(Page_Servers);
    waitFor([]() { return false; }, 800);
    const int rows
        = DeferredPage::find<QListWidget>(&window, QStringLiteral("vpnServAllServListWidget"))
              ->count();
    window.grab().save(out.filePath(QStringLiteral("signed-in-servers.png")));
    std::printf("page %d, %d server rows, dialogs: %s\n", stack->currentIndex(), rows,
                qPrintable(dialogs.join(QLatin1Char('|'))));
    setDialogRunner(nullptr);
    return 0;
}
