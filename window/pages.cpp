// MainWindow: the pages, the moves between them and the window's common look.

#include "buildconfig.h"
#include "core/clientsettings.h"
#include "core/loger.h"
#include "ui/comboboxchangedpopup.h"
#include "ui/deferredpage.h"
#include "ui/loadinganimations.h"
#include "ui/messagedialogs.h"
#include "ui/nofocusrectdelegate.h"
#include "ui/slidingbutton.h"
#include "ui/slidingstackedwidget.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFile>
#include <QFontDatabase>
#include <QMenu>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTimer>

namespace {

const int hintRiseMs = 250;
const int hintTargetY = 405;
const int dotsIntervalMs = 500;
// A slide of the main stack lasts 150 ms; a wait for it never outlasts this.
const int pageSlideWaitLimitMs = 3000;

QString loadStyleSheet(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    return QString::fromUtf8(file.readAll());
}

// Logos are drawn larger than their place; they are shown scaled, never stretched.
void fitPixmap(QLabel *label)
{
    const QPixmap pixmap = label->pixmap(Qt::ReturnByValue);
    if (pixmap.isNull())
        return;
    const QSize box(label->maximumWidth() < QWIDGETSIZE_MAX ? label->maximumWidth() : 240,
                    label->maximumHeight() < QWIDGETSIZE_MAX ? label->maximumHeight() : 120);
    if (pixmap.width() <= box.width() && pixmap.height() <= box.height())
        return;
    label->setPixmap(pixmap.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

} // namespace

void MainWindow::setUpPages()
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint
                   | Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Kestrune VPN"));
    setMinimumSize(300, 470);
    setMaximumSize(300, 470);
    applyApplicationFont();

    // The link texts are templates: the web site's address comes in when it is known.
    mainTipTemplate = ui->mainTipLabel->text();
    remindPswdTemplate = ui->mainRemindPswdLabel->text();
    setLinkTexts(QString::fromUtf8(BuildConfig::DefaultSiteBase));
    ui->aboutVersionLabel->setText(ui->aboutVersionLabel->text().replace(
        QLatin1String("%0"), QString::fromUtf8(BuildConfig::AppVersion)));

    for (QLabel *hint : {ui->mainTipLabel, ui->vpnConTipLabel, settingsHintLabel()}) {
        hint->hide();
        installOpacityEffect(hint);
    }

    for (QLabel *logo : {ui->mainImageLogoLabel, ui->mainTextLogoLabel, ui->authImageLogoLabel,
                         ui->subsImageLogoLabel, ui->aboutImageLogoLabel, ui->aboutTextLogoLabel,
                         ui->vpnConConLogoLabel, ui->vpnConUnconLogoLabel})
        fitPixmap(logo);

    ui->mainLoginLineEdit->addAction(QIcon(QStringLiteral(":/images/interface/field_login.png")),
                                     QLineEdit::LeadingPosition);
    ui->mainPswdLineEdit->addAction(QIcon(QStringLiteral(":/images/interface/field_password.png")),
                                    QLineEdit::LeadingPosition);

    ui->vpnConCancelWidget->hide();
    ui->vpConConSecondServWidget->hide();

    setUpComboBoxes();
    setUpSlidingWidgets();
    setUpInfoPage();
    setUpSettingsPage();

    auto *listDelegate = new NoFocusRectDelegate(this);
    for (QListWidget *list : {ui->vpnServAllServListWidget, ui->vpnServFavServListWidget,
                              ui->vpnDoubleFavServListWidget}) {
        list->setItemDelegate(listDelegate);
        list->setCurrentRow(-1);
    }

    for (QPushButton *gear :
         {ui->mainSettingButton, ui->subsSettingButton, ui->vpnConSettingButton,
          ui->vpnServSettingButton, ui->vpnInfoSettingButton, ui->vpnDoubleServSettingButton})
        connect(gear, SIGNAL(clicked()), this, SLOT(openSettings()));
    connect(ui->mainLoginLineEdit, SIGNAL(returnPressed()), ui->mainLoginButton, SLOT(click()));
    connect(ui->mainPswdLineEdit, SIGNAL(returnPressed()), ui->mainLoginButton, SLOT(click()));

    updateSignInButton();
}

void MainWindow::applyLook()
{
    // Polished before its children exist and before its style sheet is set, the window keeps
    // the sheet parsed once: a window polished after the sheet was read throws the parsed
    // sheet away and reads it again.
    ensurePolished();
}

void MainWindow::deferUnseenPages()
{
    for (int index = 0; index < ui->stackedWidget->count(); ++index) {
        if (index != ui->stackedWidget->currentIndex())
            DeferredPage::defer(ui->stackedWidget, ui->stackedWidget->widget(index));
    }
}

void MainWindow::joinDeferredPagesWhenIdle()
{
    if (deferredPagesJoining)
        return;
    deferredPagesJoining = true;
    QTimer::singleShot(0, this, &MainWindow::joinNextDeferredPage);
}

// One page a turn of the event loop, so the window keeps answering meanwhile.
void MainWindow::joinNextDeferredPage()
{
    for (int index = 0; index < ui->stackedWidget->count(); ++index) {
        auto *place = qobject_cast<DeferredPage *>(ui->stackedWidget->widget(index));
        if (place && !place->hasJoined()) {
            place->join();
            QTimer::singleShot(0, this, &MainWindow::joinNextDeferredPage);
            return;
        }
    }
}

void MainWindow::preparePage(int index)
{
    if (auto *place = qobject_cast<DeferredPage *>(ui->stackedWidget->widget(index)))
        place->join();
}

void MainWindow::applyStyleSheet()
{
    setStyleSheet(loadStyleSheet(QStringLiteral(":/styles/styles/mainwindow.qss")));
}

bool MainWindow::event(QEvent *event)
{
    // The window's icon holds seven pictures: they are read once the window has painted,
    // off the way to its first picture on the screen, and the pages not seen yet follow.
    if (event->type() == QEvent::Paint && !firstPaintSeen) {
        firstPaintSeen = true;
        QTimer::singleShot(
            0, this, [this] { setWindowIcon(QIcon(QStringLiteral(":/images/icons/ksvpn.ico"))); });
        joinDeferredPagesWhenIdle();
    }
    return QMainWindow::event(event);
}

void MainWindow::applyApplicationFont()
{
    const QString path = QStringLiteral(":/font/fonts/font.ttf");
    if (!QFile::exists(path))
        return;
    const int id = QFontDatabase::addApplicationFont(path);
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty())
        return;
    QFont font(families.first());
    font.setPixelSize(11);
    font.setStyleStrategy(QFont::PreferAntialias);
    setFont(font);
}

void MainWindow::setLinkTexts(const QString &siteBase)
{
    ui->mainTipLabel->setText(QString(mainTipTemplate).replace(QLatin1String("%0"), siteBase));
    ui->mainRemindPswdLabel->setText(
        QString(remindPswdTemplate).replace(QLatin1String("%0"), siteBase));
}

void MainWindow::setUpComboBoxes()
{
    comboItemDelegate = new QStyledItemDelegate(this);
    const QList<ComboBoxChangedPopup *> combos = findChildren<ComboBoxChangedPopup *>();
    for (ComboBoxChangedPopup *combo : combos) {
        combo->setPopupInsets(15, 15, 1);
        combo->setPopupItemDelegate(comboItemDelegate);
    }
}

void MainWindow::setUpSlidingWidgets()
{
    ui->stackedWidget->setSpeed(150);
    ui->stackedWidget->setAnimation(QEasingCurve::Linear);
    ui->stackedWidget->setWrap(false);
    for (SlidingStackedWidget *lists : {ui->vpnServStackedWidget, ui->vpnDoubleServStackedWidget}) {
        lists->setSpeed(125);
        lists->setAnimation(QEasingCurve::Linear);
        lists->setWrap(false);
    }
    connect(ui->stackedWidget, SIGNAL(animationFinished()), this, SLOT(slidingSWAnimFinished()));

    const QString knobStyle = QStringLiteral(
        "QPushButton { background-color: qlineargradient(spread:pad, x1:0, y1:0, x2:1, y2:0, "
        "stop:0 rgba(253, 123, 45, 255), stop:1 rgba(253, 68, 65, 255)); border: none; "
        "border-radius: 18px; font-size: 13px; color: white; }"
        "QPushButton:pressed { background-color: qlineargradient(spread:pad, x1:0, y1:0, "
        "x2:1, y2:0, stop:0 rgba(233, 103, 25, 255), stop:1 rgba(233, 48, 45, 255)); }");
    const QString trackStyle = QStringLiteral(
        "background-color: #dddddd;border-style: outset;border-width: 0px;"
        "border-radius: 18px;border-color: beige;font: 13px;color: black;padding: 6px;");
    const int toggleWidth = width() - 70;
    vpnServSlidingButton = new SlidingButton(toggleWidth, 38, ui->vpnServPage);
    vpnDoubleSlidingButton = new SlidingButton(toggleWidth, 38, ui->vpnDoubleServPage);
    ui->vpnServSlidingButtonHLayout->addWidget(vpnServSlidingButton);
    ui->vpnDoubleSlidingButtonHLayout->addWidget(vpnDoubleSlidingButton);
    for (SlidingButton *toggle : {vpnServSlidingButton, vpnDoubleSlidingButton}) {
        toggle->setTexts(tr("Servers"), tr("Favorites"));
        toggle->findChild<QPushButton *>(QStringLiteral("button"))->setStyleSheet(knobStyle);
        toggle->findChild<QWidget *>(QStringLiteral("backGroundWidget"))->setStyleSheet(trackStyle);
    }
}

void MainWindow::setUpInfoPage()
{
    for (QPushButton *address : {ui->vpnInfoOrIPButton, ui->vpnInfoNewIPButton}) {
        auto *menu = new QMenu(address);
        QAction *copy = menu->addAction(tr("Copy"));
        connect(copy, SIGNAL(triggered(bool)), this, SLOT(copyToClipboard()));
        address->setMenu(menu);
    }
}

void MainWindow::updateSignInButton()
{
    const bool allowed = signInAllowed(ui->mainLoginLineEdit->text(), ui->mainPswdLineEdit->text());
    ui->mainLoginButton->setEnabled(allowed);
    ui->mainRememberCheckBox->setEnabled(allowed);
}

void MainWindow::on_mainLoginLineEdit_textChanged(const QString &)
{
    updateSignInButton();
}

void MainWindow::on_mainPswdLineEdit_textChanged(const QString &)
{
    updateSignInButton();
}

// ---- page entry -------------------------------------------------------------------------

void MainWindow::on_stackedWidget_currentChanged(int index)
{
    pageHistory.enter(index);

    if (index == Page_Auth) {
        if (authDotsTimerId < 0)
            authDotsTimerId = startTimer(dotsIntervalMs, Qt::CoarseTimer);
    } else if (authDotsTimerId >= 0) {
        killTimer(authDotsTimerId);
        authDotsTimerId = -1;
    }

    riseHintOnce(index);

    // The settings page left by another road than its Back button (the tray's Connect VPN or
    // About, a sign-in failure): what was changed there is applied all the same.
    if (index != Page_Settings && settingsUnapplied)
        applySettingsAndReopenPage();

    if (index == Page_Settings)
        enterSettingsPage();

    if (index == Page_Subscription)
        ui->subsBackButton->setVisible(
            subscriptionBackVisible(pageHistory.returnPage(), ui->subsBackButton->isVisible()));

    if (index == Page_Info) {
        const bool scrolls = ui->vpnInfoScrollArea->verticalScrollBar()->isVisible();
        ui->vpnInfoSAGridLayout->setContentsMargins(0, 0, infoValuesRightMargin(scrolls), 0);
    }
}

void MainWindow::riseHintOnce(int page)
{
    int slot = -1;
    QLabel *hint = nullptr;
    int targetY = hintTargetY;
    switch (page) {
    case Page_SignIn:
        slot = 0;
        hint = ui->mainTipLabel;
        break;
    case Page_Connection:
        slot = 1;
        hint = ui->vpnConTipLabel;
        break;
    case Page_Settings:
        slot = 2;
        hint = settingsHintLabel();
        targetY = 0;
        break;
    default:
        return;
    }
    if (hintShown[slot])
        return;
    hintShown[slot] = true;
    slideFadeIn(hint, targetY, hintRiseMs);
}

void MainWindow::timerEvent(QTimerEvent *event)
{
    Q_UNUSED(event)
    const int page = ui->stackedWidget->currentIndex();
    if (page == Page_Settings) {
        updateLoadingDots(settingsLoadingLabel());
        return;
    }
    const QString name = loadingLabelName(page, ui->vpnConStatusStackedWidget->currentIndex());
    if (!name.isEmpty())
        updateLoadingDots(findChild<QLabel *>(name));
}

// ---- navigation -------------------------------------------------------------------------

void MainWindow::slideToPage(int index)
{
    ui->stackedWidget->slideInIdx(index);
}

void MainWindow::slideToReturnPage()
{
    slideToPage(pageHistory.returnPage());
}

void MainWindow::slidingSWAnimFinished()
{
    pageSlideInProgress = false;
}

void MainWindow::waitForPageSlide()
{
    if (!pageSlideInProgress)
        return;
    QEventLoop loop;
    connect(ui->stackedWidget, SIGNAL(animationFinished()), &loop, SLOT(quit()));
    QTimer::singleShot(pageSlideWaitLimitMs, &loop, SLOT(quit()));
    loop.exec();
}

void MainWindow::returnToSignInPage()
{
    waitForPageSlide();
    ui->stackedWidget->setCurrentIndex(Page_SignIn);
}

void MainWindow::openSettings()
{
    slideToPage(Page_Settings);
}

void MainWindow::on_mainLoginButton_clicked()
{
    if (ui->stackedWidget->currentIndex() == Page_SignIn && isVisible()) {
        pageSlideInProgress = true;
        slideToPage(Page_Auth);
    } else {
        ui->stackedWidget->setCurrentIndex(Page_Auth);
    }
    startSignIn();
}

void MainWindow::on_subsBackButton_clicked()
{
    // The subscription in use stays the one chosen: the list shows it again.
    if (currentSubIndex >= 0 && currentSubIndex < ui->subsSubComboBox->count())
        ui->subsSubComboBox->setCurrentIndex(currentSubIndex);
    ui->stackedWidget->setCurrentIndex(Page_Connection);
}

void MainWindow::on_vpnConManualChoiceButton_clicked()
{
    const int page = manualChoicePage(currentSubType());
    if (page < 0) {
        showErrorDialog(10, {}, dialogParent());
        return;
    }
    ui->stackedWidget->setCurrentIndex(page);
    updateConnectButtons();
}

void MainWindow::on_vpnConChangeSubButton_clicked()
{
    if (connection->state() != ConnectionController::Unconnected) {
        const QList<bool> answer = showConfirmDialog(0, windowTitle(), {}, false, dialogParent());
        if (answer.isEmpty() || !answer.first())
            return;
        connection->stop(true);
    }
    // A failure of the last tunnel is not shown for the next subscription.
    connection->clearFailure();
    ui->subsNextButton->setEnabled(false);
    if (ui->subsSubComboBox->count() > 0)
        ui->subsSubComboBox->setEnabled(true);
    ui->stackedWidget->setCurrentIndex(Page_Subscription);
}

void MainWindow::on_vpnConConInfoButton_clicked()
{
    slideToPage(Page_Info);
}

void MainWindow::on_vpnInfoBackButton_clicked()
{
    slideToPage(Page_Connection);
}

void MainWindow::on_vpnServBackButton_clicked()
{
    ui->stackedWidget->setCurrentIndex(Page_Connection);
}

void MainWindow::on_vpnDoubleServBackButton_clicked()
{
    ui->stackedWidget->setCurrentIndex(Page_Connection);
}

void MainWindow::on_aboutBackButton_clicked()
{
    slideToReturnPage();
}

void MainWindow::showAbout()
{
    if (isVisible()) {
        slideToPage(Page_About);
        raise();
    } else {
        ui->stackedWidget->setCurrentIndex(Page_About);
        showNormal();
        raise();
    }
}

void MainWindow::showWindow()
{
    if (!isVisible() || isMinimized())
        showNormal();
    raise();
}

void MainWindow::showAtAnotherStart()
{
    showWindow();
    activateWindow();
    Loger::writeLine(tr("Main window brought to the front for another start"));
}

void MainWindow::iconActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason != QSystemTrayIcon::Trigger)
        return;
    Loger::writeLine(tr("Main window is visible"));
    showNormal();
    raise();
}

void MainWindow::copyToClipboard()
{
    auto *action = qobject_cast<QAction *>(sender());
    if (!action)
        return;
    auto *menu = qobject_cast<QMenu *>(action->parent());
    auto *button = menu ? qobject_cast<QPushButton *>(menu->parent()) : nullptr;
    if (button)
        QApplication::clipboard()->setText(button->text());
}

void MainWindow::checkStartType()
{
    // Remembered credentials sign in by themselves; a remembered choice without them (a
    // first start: remembering is on by default) shows the sign-in page as usual. A sign-in
    // the user started before this ran is the one sign-in.
    const bool signInStarted
        = pageSlideInProgress || ui->stackedWidget->currentIndex() != Page_SignIn;
    if (!signInStarted) {
        if (ui->mainRememberCheckBox->isChecked() && ui->mainLoginButton->isEnabled())
            ui->mainLoginButton->click();
        else
            on_stackedWidget_currentChanged(Page_SignIn);
    }

    // Without a tray icon a hidden window could not be found again: it waits in the taskbar.
    if (!settings->startMinimized()) {
        showWindow();
    } else if (trayIcon && trayIcon->isVisible()) {
        hide();
    } else {
        showMinimized();
        Loger::writeLine(tr("Main window minimized to the taskbar: no system tray"));
    }
    // A window that starts out of sight is never painted first.
    if (!isVisible() || isMinimized())
        joinDeferredPagesWhenIdle();
}

void MainWindow::setTrayIcon(QSystemTrayIcon *icon)
{
    trayIcon = icon;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (trayIcon && trayIcon->isVisible()) {
        hide();
        Loger::writeLine(tr("Main window is now hidden"));
        event->ignore();
        return;
    }
    // Without a tray icon nothing would be left to reach the program (and its tunnel) by:
    // closing the window is the tray's Quit.
    if (!quitting)
        aboutToQuit();
    QMainWindow::closeEvent(event);
}
