// MainWindow: the subscription page's list box and the connection page's subscription panel.

#include "api/subscriptionchoice.h"
#include "window/mainwindow.h"
#include "core/clientsettings.h"
#include "ui/formattimeleft.h"
#include "ui/messagedialogs.h"
#include "ui/traynotification.h"
#include "ui_mainwindow.h"

#include <QDate>
#include <QDateTime>
#include <QStandardItemModel>
#include <QTimer>

namespace {

const QString iconFolder = QStringLiteral(":/sub/images/interface/");

QString miniIconName(int type)
{
    switch (type) {
    case 2:
        return QStringLiteral("sub_double_mini");
    case 3:
        return QStringLiteral("sub_onion_mini");
    default:
        return QStringLiteral("sub_premium_mini");
    }
}

QString panelLogoName(int type)
{
    switch (type) {
    case 1:
    case 4:
        return QStringLiteral("sub_premium.png");
    case 2:
        return QStringLiteral("sub_double.png");
    case 3:
        return QStringLiteral("sub_onion.png");
    default:
        return QStringLiteral("sub_default.png");
    }
}

QIcon subscriptionIcon(int type)
{
    const QString name = iconFolder + miniIconName(type);
    QIcon icon;
    const QPixmap normal(name + QStringLiteral(".png"));
    icon.addPixmap(normal, QIcon::Normal, QIcon::Off);
    icon.addPixmap(normal, QIcon::Selected, QIcon::Off);
    icon.addPixmap(QPixmap(name + QStringLiteral("_disabled.png")), QIcon::Disabled, QIcon::Off);
    return icon;
}

} // namespace

void MainWindow::fillSubscriptionCombo()
{
    QComboBox *combo = ui->subsSubComboBox;
    const QSignalBlocker blocker(combo);
    combo->clear();
    auto *model = qobject_cast<QStandardItemModel *>(combo->model());
    for (int i = 0; i < subscriptions.size(); ++i) {
        const Subscription &subscription = subscriptions.at(i);
        combo->addItem(subscriptionIcon(subscription.type), subscriptionDisplayText(subscription),
                       subscription.id);
        const QString toolTip = subscriptionDisabledToolTip(subscription.status);
        if (!toolTip.isEmpty() && model) {
            QStandardItem *item = model->item(i);
            item->setEnabled(false);
            item->setToolTip(toolTip);
        }
    }

    const SubscriptionChoice choice = chooseSubscription(subscriptions, settings->packageId());
    if (!choice.usable) {
        combo->setEnabled(false);
        ui->subsNextButton->setText(tr("BUY SUBSCRIBTION"));
        ui->subsNextButton->setEnabled(true);
        if (windowOutOfView())
            showTrayNotification(3, windowTitle(), {}, trayIcon);
        return;
    }
    combo->setCurrentIndex(choice.preselected);
    combo->setEnabled(true);
    ui->subsNextButton->setText(tr("NEXT"));
    ui->subsNextButton->setEnabled(true);
}

void MainWindow::on_subsSubComboBox_currentIndexChanged(int)
{
    ui->subsNextButton->setEnabled(true);
}

void MainWindow::refreshSubscriptionPanel()
{
    if (currentSubIndex < 0 || currentSubIndex >= subscriptions.size())
        return;
    const Subscription &subscription = subscriptions.at(currentSubIndex);

    QLabel *logo = ui->vpnConSubLogoLabel;
    const QPixmap picture(iconFolder + panelLogoName(subscription.type));
    if (!picture.isNull())
        logo->setPixmap(picture.scaled(logo->maximumSize().boundedTo(QSize(240, 120)),
                                       Qt::KeepAspectRatio, Qt::SmoothTransformation));

    // The name gets what its row leaves after the logo, the "change" button, the margins and
    // the spacing. Before the connection page was ever shown its row has no width yet; the
    // window's width less the page margins stands in for it.
    preparePage(Page_Connection);
    QHBoxLayout *row = ui->vpnConSubHLayout;
    const QMargins margins = row->contentsMargins();
    const int rowWidth
        = ui->vpnConSubWidget->isVisible() ? ui->vpnConSubWidget->width() : width() - 40;
    int taken = logo->maximumWidth() + margins.left() + margins.right() + 2 * row->spacing();
    if (row->indexOf(ui->vpnConChangeSubButton) >= 0)
        taken += ui->vpnConChangeSubButton->sizeHint().width() + row->spacing();
    const int available = qMax(40, rowWidth - taken);
    ui->vpnConSubTypeLabel->setText(ui->vpnConSubTypeLabel->fontMetrics().elidedText(
        subscriptionDisplayText(subscription), Qt::ElideRight, available));

    const QDate endDate = QDateTime::fromSecsSinceEpoch(subscription.timeEnd).date();
    const qint64 days = QDate::currentDate().daysTo(endDate);
    if (days > 3) {
        ui->vpnConSubLeftLabel->setStyleSheet(QStringLiteral("color:#656566;font-size: 11px;"));
        return;
    }
    ui->vpnConSubLeftLabel->setStyleSheet(QStringLiteral("color:#dc6566;font-size: 11px;"));
    if (!expiryWarningShown) {
        // Set first: the dialog runs its own loop, in which the panel may be refreshed again.
        expiryWarningShown = true;
        showInfoDialog(1, {subscription.typeName, endDate.toString(QStringLiteral("dd.MM.yyyy"))},
                       dialogParent());
    }
}
