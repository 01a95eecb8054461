#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>
#include <QSystemTrayIcon>

// The tray's texts and pictures, and the balloons that report connections and failures
// while the main window is out of view. Statuses are the VPN process statuses as ints:
// 0 unconnected, 1 connecting, 2 connected, 3 disconnecting. Texts are translated in the
// context "MainWindow".

// One balloon as it is shown; valid only for the types 1 to 7.
struct TrayNotification
{
    bool valid = false;
    QString title;
    QString text;
    QSystemTrayIcon::MessageIcon icon = QSystemTrayIcon::NoIcon;
    int msecs = 0;
};

// The balloon's text for a type from 1 to 7 (type 6 fills in the original and the new
// address from args[0] and args[1]); empty for any other type.
QString trayNotificationText(const int &type, const QStringList &args);

// Critical for the failures, Warning for "no active subscriptions", Information for the
// connection reports; NoIcon for an unknown type.
QSystemTrayIcon::MessageIcon trayNotificationIcon(const int &type);

// How long a balloon is asked to stay; the desktop may shorten it.
constexpr int TrayNotificationMsecs = 300000;

TrayNotification buildTrayNotification(const int &type, const QString &title,
                                       const QStringList &args);

// Shows one balloon of the given type on tray and remembers the type as the last one shown.
// An unknown type or a null tray shows nothing and changes nothing. Where the desktop has no
// tray, Qt drops the message.
void showTrayNotification(const int &type, const QString &title, const QStringList &args,
                          QSystemTrayIcon *tray);

// The type of the last balloon shown in this run, 0 when none has been shown yet.
int lastTrayNotificationType();
// Forgets the last balloon (for tests that need a fresh run).
void resetLastTrayNotificationType();

// The tray picture for a status; disconnecting shows the connecting picture, an unknown
// status the unconnected one.
QString trayIconPath(const int &status);
// The picture of trayIconPath() as a single-size icon for QIcon::Normal, QIcon::Off.
QIcon trayIcon(const int &status);

// The word for a status on the tool tip's second line; empty for an unknown status.
QString trayStatusWord(const int &status);

// "<title> <version>\n<status word>".
QString trayToolTip(const QString &title, const QString &version, const int &status);

// The taskbar asks for attention only for a window that is hidden and minimised.
bool alertIfMinimisedNeeded(bool visible, bool minimised);
