// MainWindow: the stars of the server rows and of the double page, the list toggles and the
// connect buttons that follow the current row.

#include "ui/slidingbutton.h"
#include "ui/vpnserveritem.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <QListWidgetItem>
#include <QScrollBar>

namespace {

// Found by the widget, not by its position: a list that is not on show has not placed its
// rows yet.
QListWidgetItem *itemOfRow(QListWidget *list, QWidget *row)
{
    for (int r = 0; r < list->count(); ++r) {
        if (list->itemWidget(list->item(r)) == row)
            return list->item(r);
    }
    return nullptr;
}

} // namespace

void MainWindow::vpnServerItemFavButtonClicked()
{
    auto *row = qobject_cast<VPNServerItem *>(sender());
    if (!row)
        return;
    // The list that holds the row.
    QListWidget *list = row->listType() == VPNServerItem::List_Premium
        ? ui->vpnServAllServListWidget
        : row->listType() == VPNServerItem::List_PremiumFavorite ? ui->vpnServFavServListWidget
                                                                 : ui->vpnDoubleFavServListWidget;
    const int k = serverIndexOfId(row->firstId(), -1);
    switch (row->listType()) {
    case VPNServerItem::List_Premium:
        if (k >= 0)
            servers[k].favorite = !servers.at(k).favorite;
        // A star whose server has gone shows what is stored: nothing changed.
        row->setFavorite(k >= 0 && servers.at(k).favorite);
        fillFavoriteLists();
        break;
    case VPNServerItem::List_PremiumFavorite:
        if (k >= 0)
            servers[k].favorite = false;
        emit vpnServerItemFavoriteStateChanged(row->firstId(), false);
        delete itemOfRow(list, row);
        break;
    case VPNServerItem::List_DoubleFavorite: {
        const int j = serverIndexOfId(row->secondId(), -1);
        if (k >= 0)
            servers[k].favoriteExits.removeAll(j);
        delete itemOfRow(list, row);
        on_vpnDoubleServSecondComboBox_currentIndexChanged(
            ui->vpnDoubleServSecondComboBox->currentIndex());
        break;
    }
    case VPNServerItem::List_Double:
        break;
    }
    saveSettings(Set_Favorites);
    updateConnectButtons();
}

void MainWindow::on_vpnDoubleServFavServButton_clicked()
{
    const QVariant entry = ui->vpnDoubleServFirstComboBox->currentData();
    const QVariant exit = ui->vpnDoubleServSecondComboBox->currentData();
    const int i = entry.isValid() ? entry.toInt() : -1;
    const int j = exit.isValid() ? exit.toInt() : -1;
    if (i >= 0 && i < servers.size() && j >= 0 && j < servers.size() && i != j) {
        QVector<int> &exits = servers[i].favoriteExits;
        if (exits.contains(j))
            exits.removeAll(j);
        else
            exits.append(j);
        ui->vpnDoubleServFavServButton->setChecked(exits.contains(j));
    }
    saveSettings(Set_Favorites);
    fillFavoriteLists();
}

void MainWindow::slidingButtonClicked()
{
    if (ui->stackedWidget->currentIndex() == Page_Servers) {
        ui->vpnServConnectButton->setEnabled(false);
        ui->vpnServStackedWidget->slideInIdx(!ui->vpnServStackedWidget->currentIndex());
    } else if (ui->stackedWidget->currentIndex() == Page_DoubleServers) {
        ui->vpnDoubleFavServConnectButton->setEnabled(false);
        ui->vpnDoubleServStackedWidget->slideInIdx(!ui->vpnDoubleServStackedWidget->currentIndex());
    }
}

void MainWindow::slidingVPNServSWAnimFinished()
{
    updateConnectButtons();
}

void MainWindow::updateConnectButtons()
{
    // Only the list on show counts: a refill of the hidden one leaves CONNECT alone.
    QListWidget *visible = ui->vpnServStackedWidget->currentIndex() == 0
        ? ui->vpnServAllServListWidget
        : ui->vpnServFavServListWidget;
    ui->vpnServConnectButton->setEnabled(visible->currentIndex().isValid()
                                         && visible->currentItem());
    ui->vpnDoubleFavServConnectButton->setEnabled(ui->vpnDoubleFavServListWidget->currentItem()
                                                  != nullptr);
}

void MainWindow::on_vpnServAllServListWidget_currentItemChanged(QListWidgetItem *,
                                                                QListWidgetItem *)
{
    updateConnectButtons();
}

void MainWindow::on_vpnServFavServListWidget_currentItemChanged(QListWidgetItem *,
                                                                QListWidgetItem *)
{
    updateConnectButtons();
}

void MainWindow::on_vpnDoubleFavServListWidget_currentItemChanged(QListWidgetItem *,
                                                                  QListWidgetItem *)
{
    updateConnectButtons();
}

void MainWindow::vpnServerSelectionChanged(const QModelIndex &current, const QModelIndex &previous)
{
    auto *model = qobject_cast<QItemSelectionModel *>(sender());
    QListWidget *list = nullptr;
    for (QListWidget *candidate : {ui->vpnServAllServListWidget, ui->vpnServFavServListWidget,
                                   ui->vpnDoubleFavServListWidget}) {
        if (candidate->selectionModel() == model)
            list = candidate;
    }
    if (!list)
        return;
    if (auto *row = qobject_cast<VPNServerItem *>(list->indexWidget(current)))
        row->selectionStateChanged(true);
    if (auto *row = qobject_cast<VPNServerItem *>(list->indexWidget(previous)))
        row->selectionStateChanged(false);
}

void MainWindow::setUpServerLists()
{
    for (QListWidget *list : {ui->vpnServAllServListWidget, ui->vpnServFavServListWidget,
                              ui->vpnDoubleFavServListWidget})
        connect(list->selectionModel(), SIGNAL(currentRowChanged(QModelIndex, QModelIndex)), this,
                SLOT(vpnServerSelectionChanged(QModelIndex, QModelIndex)));
    for (SlidingButton *toggle : {vpnServSlidingButton, vpnDoubleSlidingButton}) {
        connect(toggle, SIGNAL(buttonClicked()), this, SLOT(slidingButtonClicked()));
        toggle->setAccessibleName(tr("Servers or favorites"));
    }
    for (QListWidget *list : {ui->vpnServAllServListWidget, ui->vpnServFavServListWidget,
                              ui->vpnDoubleFavServListWidget})
        connect(list->verticalScrollBar(), SIGNAL(valueChanged(int)), this,
                SLOT(serverListScrolled()));
    connect(ui->vpnServStackedWidget, SIGNAL(animationFinished()), this,
            SLOT(slidingVPNServSWAnimFinished()));
    connect(ui->vpnDoubleServStackedWidget, SIGNAL(animationFinished()), this,
            SLOT(slidingVPNServSWAnimFinished()));
    ui->vpnDoubleServFavServButton->setAccessibleName(tr("Favorite pair"));
    ui->vpnServAllServListWidget->setAccessibleName(tr("All locations"));
    ui->vpnServFavServListWidget->setAccessibleName(tr("Favorite locations"));
    ui->vpnDoubleFavServListWidget->setAccessibleName(tr("Favorite pairs"));
}
