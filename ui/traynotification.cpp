#include "traynotification.h"

#include <QCoreApplication>

namespace {

// Read by the connection sequence to tell whether any balloon has been shown in this run.
// GUI thread only, like every caller of the notifier.
int g_lastNotificationType = 0;

} // namespace

QString trayNotificationText(const int &type, const QStringList &args)
{
    switch (type) {
    case 1:
        return QCoreApplication::translate("MainWindow", "Error: authorization failed");
    case 2:
        return QCoreApplication::translate("MainWindow", "Error: unable to get subscriptions");
    case 3:
        return QCoreApplication::translate("MainWindow",
                                           "Error: there are no active subscribtions");
    case 4:
        return QCoreApplication::translate("MainWindow",
                                           "Error: unable to get list of available servers");
    case 5:
        return QCoreApplication::translate("MainWindow",
                                           "Error: unable to establish VPN connection");
    case 6:
        // Both addresses in one pass, so an argument that happens to contain "%1" is shown
        // as it is instead of being filled in again.
        return QCoreApplication::translate("MainWindow",
                                           "VPN connection established\n"
                                           "Original IP: %0\n"
                                           "New IP: %1")
            .arg(args.value(0), args.value(1));
    case 7:
        return QCoreApplication::translate("MainWindow", "VPN disconnected");
    default:
        return QString();
    }
}

QSystemTrayIcon::MessageIcon trayNotificationIcon(const int &type)
{
    switch (type) {
    case 1:
    case 2:
    case 4:
    case 5:
        return QSystemTrayIcon::Critical;
    case 3:
        return QSystemTrayIcon::Warning;
    case 6:
    case 7:
        return QSystemTrayIcon::Information;
    default:
        return QSystemTrayIcon::NoIcon;
    }
}

TrayNotification buildTrayNotification(const int &type, const QString &title,
                                       const QStringList &args)
{
    TrayNotification notification;
    if (type < 1 || type > 7)
        return notification;
    notification.valid = true;
    notification.title = title;
    notification.text = trayNotificationText(type, args);
    notification.icon = trayNotificationIcon(type);
    notification.msecs = TrayNotificationMsecs;
    return notification;
}

void showTrayNotification(const int &type, const QString &title, const QStringList &args,
                          QSystemTrayIcon *tray)
{
    const TrayNotification notification = buildTrayNotification(type, title, args);
    if (!notification.valid || !tray)
        return;
    g_lastNotificationType = type;
    tray->showMessage(notification.title, notification.text, notification.icon, notification.msecs);
}

int lastTrayNotificationType()
{
    return g_lastNotificationType;
}

void resetLastTrayNotificationType()
{
    g_lastNotificationType = 0;
}

QString trayIconPath(const int &status)
{
    switch (status) {
    case 1: // connecting
    case 3: // disconnecting: the tunnel is in motion either way
        return QStringLiteral(":/tray/images/icons/tray/tray_state_connecting.ico");
    case 2:
        return QStringLiteral(":/tray/images/icons/tray/tray_state_connected.ico");
    default:
        return QStringLiteral(":/tray/images/icons/tray/tray_state_unconnected.ico");
    }
}

QIcon trayIcon(const int &status)
{
    QIcon icon;
    icon.addFile(trayIconPath(status), QSize(), QIcon::Normal, QIcon::Off);
    return icon;
}

QString trayStatusWord(const int &status)
{
    switch (status) {
    case 0:
        return QCoreApplication::translate("MainWindow", "VPN not connected");
    case 1:
        return QCoreApplication::translate("MainWindow", "VPN is connecting...");
    case 2:
        return QCoreApplication::translate("MainWindow", "VPN connected");
    case 3:
        return QCoreApplication::translate("MainWindow", "VPN is disconnecting...");
    default:
        return QString();
    }
}

QString trayToolTip(const QString &title, const QString &version, const int &status)
{
    return QStringLiteral("%0 %1\n%2").arg(title, version, trayStatusWord(status));
}

bool alertIfMinimisedNeeded(bool visible, bool minimised)
{
    return !visible && minimised;
}
