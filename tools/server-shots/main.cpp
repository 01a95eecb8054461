// Usage: kestrune_server_shots <output folder>
// Signs in to the local service through the real window, stars a location and a pair as a
// user would, and saves "servers-all.png" (flag discs and a starred row),
// "servers-favorites.png" (the favourites list), "servers-double.png" (the double page) and
// "servers-double-favorites.png" (its favourite pairs).

#include "core/loger.h"
#include "mockservice/mockservice.h"
#include "ui/deferredpage.h"
#include "ui/messagedialogs.h"
#include "ui/pagenavigation.h"
#include "ui/vpnserveritem.h"
#include "core/clientsettings.h"
#include "window/mainwindow.h"

#include <cstdio>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFontDatabase>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>

namespace {

void settle(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool waitFor(const std::function<bool()> &condition)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > 15000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

void starRow(QListWidget *list, int row)
{
    auto *widget = qobject_cast<VPNServerItem *>(list->itemWidget(list->item(row)));
    if (widget && !widget->isFavorite())
        widget->findChild<QPushButton *>(QStringLiteral("favoriteButton"))->click();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    if (QFontDatabase().families().contains(QStringLiteral("Open Sans")))
        QApplication::setFont(QFont(QStringLiteral("Open Sans")));
    const QDir out(QString::fromLocal8Bit(argv[1]));
    setDialogRunner([](QMessageBox *box) {
        std::fprintf(stderr, "dialog: %s\n", qPrintable(box->text()));
        return int(QMessageBox::Ok);
    });
    MockService service;
    if (!service.start())
        return 1;
    service.loadDemoData();

    QTemporaryDir data;
    QDir(data.path()).mkpath(QStringLiteral("temp"));
    QDir(data.path()).mkpath(QStringLiteral("logs"));
    Loger::init(data.filePath(QStringLiteral("logs")), false, true, QStringLiteral("log"));
    ServiceEndpoints endpoints;
    endpoints.apiHostName = "api.kestrune.test";
    endpoints.apiBase = endpoints.siteBase = endpoints.emergencyBase = endpoints.ipEchoBase
        = service.baseUrl();
    settle(300); // the service is listening
    MainWindow window(data.path(), endpoints, QCoreApplication::applicationDirPath());
    window.show();
    auto *stack = DeferredPage::find<QStackedWidget>(&window, QStringLiteral("stackedWidget"));
    auto *next = DeferredPage::find<QPushButton>(&window, QStringLiteral("subsNextButton"));
    const auto click = [&window](const char *name) {
        DeferredPage::find<QPushButton>(&window, QLatin1String(name))->click();
    };
    const auto listReady = [&]() {
        if (waitFor(
                [&]() { return stack->currentIndex() == Page_Connection && next->isEnabled(); }))
            return true;
        QFile log(Loger::currentFileName());
        log.open(QIODevice::ReadOnly);
        std::fprintf(stderr, "page %d, next %d; the log ends:\n%s\n", stack->currentIndex(),
                     int(next->isEnabled()), log.readAll().right(2000).constData());
        return false;
    };
    int failures = 0;
    const auto shoot = [&](const char *name) {
        settle(400);
        failures += window.grab().save(out.filePath(QLatin1String(name))) ? 0 : 1;
    };

    settle(300); // the start-up check first, or it signs in as well
    DeferredPage::find<QLineEdit>(&window, QStringLiteral("mainLoginLineEdit"))
        ->setText(service.login());
    DeferredPage::find<QLineEdit>(&window, QStringLiteral("mainPswdLineEdit"))
        ->setText(service.password());
    // The package the sign-in takes by itself.
    window.clientSettings()->setPackageId(11);
    click("mainLoginButton");
    if (!listReady())
        return 1;
    click("vpnConManualChoiceButton");
    auto *all
        = DeferredPage::find<QListWidget>(&window, QStringLiteral("vpnServAllServListWidget"));
    settle(300);
    starRow(all, 2);
    starRow(all, 4);
    all->setCurrentRow(1);
    shoot("servers-all.png");
    DeferredPage::find<QWidget>(&window, QStringLiteral("vpnServPage"))
        ->findChild<QPushButton *>(QStringLiteral("button"))
        ->click();
    shoot("servers-favorites.png");

    // The double subscription, chosen again on the subscription page.
    click("vpnServBackButton");
    click("vpnConChangeSubButton");
    auto *subscriptions = DeferredPage::find<QComboBox>(&window, QStringLiteral("subsSubComboBox"));
    subscriptions->setCurrentIndex(subscriptions->findData(12));
    click("subsNextButton");
    if (!listReady())
        return 1;
    click("vpnConManualChoiceButton");
    settle(300);
    click("vpnDoubleServFavServButton");
    shoot("servers-double.png");
    DeferredPage::find<QWidget>(&window, QStringLiteral("vpnDoubleServPage"))
        ->findChild<QPushButton *>(QStringLiteral("button"))
        ->click();
    shoot("servers-double-favorites.png");
    setDialogRunner(nullptr);
    std::printf("saved into %s, %d failures\n", qPrintable(out.path()), failures);
    return failures ? 1 : 0;
}
