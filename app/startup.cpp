#include "startup.h"

#include "app/mainwindow.h"
#include "core/loger.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>

// Minimal start; the full sequence (translations, lock, data move) is built out next.
int runApplication(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("kestrune"));
    QCoreApplication::setApplicationName(QStringLiteral("kestrunevpn"));
    const QString dataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(dataDir + QStringLiteral("/logs"));
    Loger::init(dataDir + QStringLiteral("/logs"), false, true, QStringLiteral("kestrunevpn_log"));
    auto *window = new MainWindow(dataDir);
    window->show();
    const int rc = app.exec();
    Loger::close();
    return rc;
}
