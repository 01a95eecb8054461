#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QSystemTrayIcon>

#include "ui/pagenavigation.h"

namespace Ui {
class MainWindow;
}
class QStyledItemDelegate;
class SlidingButton;

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
    // Returns once the main stack's running slide (the sign-in slide) has ended; at once
    // when none runs. Reply handlers call it before they change the page or show a box.
    void waitForPageSlide();
    // The tray set-up hands over its icon: while it is visible, closing only hides.
    void setTrayIcon(QSystemTrayIcon *icon);
    // The page About and Settings lead back to.
    int returnPage() const { return pageHistory.returnPage(); }
    // Slides the main stack to index (automatic direction).
    void slideToPage(int index);
    void slideToReturnPage();


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
    void checkStartType();
    void openSettings();
    void showAbout();
    void showWindow();
    void iconActivated(QSystemTrayIcon::ActivationReason reason);
    void copyToClipboard();
    // Sign-in failed: back to the sign-in page once the slide to the waiting page is over.
    void returnToSignInPage();


    // ---- sign-in, subscriptions, server lists ----


    // ---- connection ----


    // ---- tray ----


private slots:
    // ---- pages and navigation ----
    void on_stackedWidget_currentChanged(int index);
    void slidingSWAnimFinished();
    void on_mainLoginLineEdit_textChanged(const QString &text);
    void on_mainPswdLineEdit_textChanged(const QString &text);
    void on_mainLoginButton_clicked();
    void on_subsBackButton_clicked();
    void on_vpnConChangeSubButton_clicked();
    void on_vpnConConInfoButton_clicked();
    void on_vpnInfoBackButton_clicked();
    void on_vpnServBackButton_clicked();
    void on_vpnDoubleServBackButton_clicked();
    void on_aboutBackButton_clicked();
    void on_settingBackButton_clicked();


    // ---- sign-in, subscriptions, server lists ----


    // ---- connection ----


private:
    // ---- construction and quit ----
    QString dataDir;
    Ui::MainWindow *ui = nullptr;


    // ---- pages and navigation ----
    void setUpPages();
    void setUpComboBoxes();
    void setUpSlidingWidgets();
    void setUpInfoPage();
    void applyApplicationFont();
    void setLinkTexts(const QString &siteBase);
    void riseHintOnce(int page);
    void updateSignInButton();

    PageHistory pageHistory;
    // One flag per hint label (sign-in, connection, settings page): each rises only once.
    bool hintShown[3] = {false, false, false};
    bool pageSlideInProgress = false;
    int authDotsTimerId = -1;
    QPointer<QSystemTrayIcon> trayIcon;
    QStyledItemDelegate *comboItemDelegate = nullptr;
    SlidingButton *vpnServSlidingButton = nullptr;
    SlidingButton *vpnDoubleSlidingButton = nullptr;
    QString mainTipTemplate;
    QString remindPswdTemplate;

protected:
    void closeEvent(QCloseEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:


    // ---- settings ----


    // ---- sign-in, subscriptions, server lists ----


    // ---- connection ----


    // ---- tray ----


};
