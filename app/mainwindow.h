#pragma once

#include <QMainWindow>
#include <QString>

// The one main window: owner of the widgets, the settings in memory, the account and
// server data and every worker. Its member functions are defined in files by subsystem:
//   app/mainwindow.cpp                 construction and quit
//   ui/mainwindow_pages.cpp            pages, navigation, look
//   core/mainwindow_settings.cpp       settings sections <-> widgets
//   api/mainwindow_signin.cpp          sign-in, subscriptions
//   api/mainwindow_serverlist.cpp      server lists
//   connection/mainwindow_connection.cpp  the connection sequence
//   ui/mainwindow_tray.cpp             tray icon and notifications
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(const QString &dataDir, QWidget *parent = nullptr);
    ~MainWindow() override;

    // ---- construction and quit (app/) ------------------------------------------------


    // ---- pages and navigation (ui/) ---------------------------------------------------


    // ---- settings (core/) -------------------------------------------------------------


    // ---- sign-in, subscriptions, server lists (api/) --------------------------------------


    // ---- connection (connection/) -------------------------------------------------------


    // ---- tray (ui/) -----------------------------------------------------------------------


signals:
    // ---- construction and quit ----


    // ---- connection ----


public slots:
    // ---- construction and quit ----


    // ---- pages and navigation ----


    // ---- sign-in, subscriptions, server lists ----


    // ---- connection ----


    // ---- tray ----


private slots:
    // ---- pages and navigation ----


    // ---- sign-in, subscriptions, server lists ----


    // ---- connection ----


private:
    // ---- construction and quit ----
    QString dataDir;


    // ---- pages and navigation ----


    // ---- settings ----


    // ---- sign-in, subscriptions, server lists ----


    // ---- connection ----


    // ---- tray ----


};
