// MainWindow: the tray icon, its menu, its picture and tool tip, and the taskbar alert.

#include "buildconfig.h"
#include "ui/traynotification.h"
#include "window/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QMenu>

void MainWindow::createTrayIcon()
{
    if (trayIcon)
        return;
    switchVPNAction = new QAction(tr("Connect VPN"), this);
    switchVPNAction->setEnabled(false);
    connect(switchVPNAction, SIGNAL(triggered()), this, SLOT(switchVPNActionTriggered()));
    showStatAction = new QAction(tr("Show stats"), this);
    showStatAction->setVisible(false);
    connect(showStatAction, SIGNAL(triggered()), this, SLOT(openStatWidget()));
    // Not in the menu: the window comes back through the icon and a click on a balloon.
    showWindowAction = new QAction(tr("Show window"), this);
    connect(showWindowAction, SIGNAL(triggered()), this, SLOT(showWindow()));
    aboutAction = new QAction(tr("About"), this);
    connect(aboutAction, SIGNAL(triggered()), this, SLOT(showAbout()));
    quitAction = new QAction(tr("Quit"), this);
    connect(quitAction, SIGNAL(triggered()), this, SLOT(aboutToQuit()));

    trayMenu = new QMenu(this);
    trayMenu->addAction(switchVPNAction);
    trayMenu->addAction(showStatAction);
    trayMenu->addSeparator();
    trayMenu->addAction(aboutAction);
    trayMenu->addSeparator();
    trayMenu->addAction(quitAction);

    auto *icon = new QSystemTrayIcon(this);
    icon->setContextMenu(trayMenu);
    connect(icon, SIGNAL(activated(QSystemTrayIcon::ActivationReason)), this,
            SLOT(iconActivated(QSystemTrayIcon::ActivationReason)));
    connect(icon, SIGNAL(messageClicked()), this, SLOT(showWindow()));
    setTrayIcon(icon);
    updateTrayIcon();
    // Without a tray (some desktops, the offscreen platform) the icon stays hidden and
    // closing the window closes it.
    if (QSystemTrayIcon::isSystemTrayAvailable())
        icon->show();
}

void MainWindow::updateTrayIcon()
{
    if (trayIcon)
        trayIcon->setIcon(::trayIcon(connectionStatusNumber()));
}

void MainWindow::updateTrayToolTip()
{
    if (trayIcon)
        trayIcon->setToolTip(trayToolTip(windowTitle(), QString::fromUtf8(BuildConfig::AppVersion),
                                         connectionStatusNumber()));
}

void MainWindow::alertIfMinimised()
{
    if (alertIfMinimisedNeeded(isVisible(), isMinimized()))
        QApplication::alert(this, 0);
}
