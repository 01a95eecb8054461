// MainWindow: the server page's lists and the double page's combos, filled from servers.

#include "ui/flagdisc.h"
#include "ui/messagedialogs.h"
#include "ui/serverlistrows.h"
#include "ui/vpnserveritem.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <QListWidgetItem>
#include <QScrollBar>

namespace {

const int IdRole = Qt::UserRole;
const int SecondIdRole = Qt::UserRole + 1;
const int TextRole = Qt::UserRole + 2;
const int SecondTextRole = Qt::UserRole + 3;
const int FlagRole = Qt::UserRole + 4;
const int SecondFlagRole = Qt::UserRole + 5;
const int ListTypeRole = Qt::UserRole + 6;

QString locationText(const VPNServer &server)
{
    return server.countryName + QStringLiteral(" | ") + server.cityName;
}

} // namespace

int MainWindow::currentSubType() const
{
    return currentSubIndex >= 0 && currentSubIndex < subscriptions.size()
        ? subscriptions.at(currentSubIndex).type
        : 0;
}

// A row's item carries everything its widget shows; the widget itself is made when the row
// comes into view, so a list of a thousand cities fills at once and scrolls smoothly.
void MainWindow::addServerRow(QListWidget *list, int first, int second, int listType)
{
    const bool pair = second >= 0;
    auto *item = new QListWidgetItem;
    const VPNServer &entry = servers.at(first);
    item->setData(IdRole, entry.id);
    item->setData(TextRole, locationText(entry));
    item->setData(FlagRole, flagPath(entry.countryIso));
    item->setData(ListTypeRole, listType);
    QString spoken = locationText(entry);
    if (pair) {
        const VPNServer &exit = servers.at(second);
        item->setData(SecondIdRole, exit.id);
        item->setData(SecondTextRole, locationText(exit));
        item->setData(SecondFlagRole, flagPath(exit.countryIso));
        spoken += QStringLiteral(" - ") + locationText(exit);
    }
    item->setData(Qt::AccessibleTextRole, spoken);
    if (listType == VPNServerItem::List_Premium) {
        // The display text orders the list; the row widget alone is seen.
        item->setData(Qt::DisplayRole, spoken);
        item->setData(Qt::ForegroundRole, QColor(Qt::transparent));
    }
    item->setSizeHint(QSize(200, rowHeight(pair)));
    list->addItem(item);
}

int MainWindow::rowHeight(bool pair)
{
    int &height = serverRowHeight[pair ? 1 : 0];
    if (height <= 0) {
        VPNServerItem sample(pair ? VPNServerItem::Sub_Double : VPNServerItem::Sub_Premium,
                             VPNServerItem::List_Premium);
        height = sample.height();
    }
    return height;
}

VPNServerItem *MainWindow::makeRowWidget(QListWidget *list, QListWidgetItem *item)
{
    const bool pair = item->data(SecondIdRole).isValid();
    const auto listType = VPNServerItem::VPNServerListType(item->data(ListTypeRole).toInt());
    auto *row = new VPNServerItem(pair ? VPNServerItem::Sub_Double : VPNServerItem::Sub_Premium,
                                  listType);
    row->setMaximumWidth(width() - 2 * ui->vpnServContentVLayout->contentsMargins().left()
                         - list->verticalScrollBar()->sizeHint().width());
    const int firstId = item->data(IdRole).toInt();
    row->setText(item->data(TextRole).toString(), VPNServerItem::Srv_First);
    row->setFlag(item->data(FlagRole).toString(), VPNServerItem::Srv_First);
    if (pair) {
        row->setText(item->data(SecondTextRole).toString(), VPNServerItem::Srv_Second);
        row->setFlag(item->data(SecondFlagRole).toString(), VPNServerItem::Srv_Second);
    }
    row->setId(firstId, pair ? item->data(SecondIdRole).toInt() : -1);
    if (listType == VPNServerItem::List_Premium) {
        row->setObjectName(QStringLiteral("DefaultSubAll"));
        const int k = serverIndexOfId(firstId, -1);
        row->setFavorite(k >= 0 && servers.at(k).favorite);
    }
    connect(row, SIGNAL(favoriteButtonClicked()), this, SLOT(vpnServerItemFavButtonClicked()));
    if (!pair)
        connect(this, SIGNAL(vpnServerItemFavoriteStateChanged(int, bool)), row,
                SLOT(favoriteStateChanged(int, bool)));
    list->setItemWidget(item, row);
    if (list->currentItem() == item)
        row->selectionStateChanged(true);
    return row;
}

void MainWindow::makeVisibleRows(QListWidget *list)
{
    if (list->count() == 0)
        return;
    // Rows are all of one height: the scroll position tells which are in view.
    const int rowHeightPx = qMax(1, list->sizeHintForRow(0));
    const int top = list->verticalScrollBar()->value();
    const int first = qBound(0, top / rowHeightPx, list->count() - 1);
    // The window is of fixed size: no list is taller than it, laid out yet or not.
    const int last = qBound(0, (top + qMax(list->viewport()->height(), height())) / rowHeightPx + 1,
                            list->count() - 1);
    for (int r = first; r <= last; ++r) {
        QListWidgetItem *item = list->item(r);
        if (!list->itemWidget(item))
            makeRowWidget(list, item);
    }
}

void MainWindow::serverListScrolled()
{
    for (QListWidget *list : {ui->vpnServAllServListWidget, ui->vpnServFavServListWidget,
                              ui->vpnDoubleFavServListWidget}) {
        if (list->verticalScrollBar() == sender())
            makeVisibleRows(list);
    }
}

void MainWindow::fillServerLists()
{
    const int type = currentSubType();
    if (type < 1 || type > 4) {
        showErrorDialog(10, {}, dialogParent());
        return;
    }
    if (type == 2) {
        fillDoubleCombos();
        return;
    }

    QListWidget *list = ui->vpnServAllServListWidget;
    const int remembered = list->currentRow();
    list->setUpdatesEnabled(false);
    list->clear();
    // Sorted before the rows are made: the list never has to move a row widget.
    for (int i : ServerListRows::allLocations(servers, QLocale()))
        addServerRow(list, i, -1, VPNServerItem::List_Premium);

    const int chosenId = firstServerIndex >= 0 && firstServerIndex < servers.size()
        ? servers.at(firstServerIndex).id
        : -1;
    QVector<int> rowIds;
    rowIds.reserve(list->count());
    for (int r = 0; r < list->count(); ++r)
        rowIds.append(list->item(r)->data(IdRole).toInt());
    const int row = ServerListRows::currentRow(remembered, rowIds, firstServerIndex >= 0, chosenId);
    list->setUpdatesEnabled(true);
    if (row >= 0) {
        list->setCurrentRow(row);
        list->scrollToItem(list->item(row));
    }
    makeVisibleRows(list);
}

void MainWindow::fillFavoriteLists()
{
    if (currentSubType() == 2) {
        QListWidget *pairs = ui->vpnDoubleFavServListWidget;
        const int remembered = pairs->currentRow();
        pairs->clear();
        for (const QPair<int, int> &pair : ServerListRows::favoritePairs(servers))
            addServerRow(pairs, pair.first, pair.second, VPNServerItem::List_DoubleFavorite);
        if (pairs->count() > 0 && remembered != -1)
            pairs->setCurrentRow(qMin(remembered, pairs->count() - 1));
        makeVisibleRows(pairs);
        updateConnectButtons();
        return;
    }

    QListWidget *list = ui->vpnServFavServListWidget;
    const int remembered = list->currentRow();
    list->clear();
    for (int i : ServerListRows::favorites(servers))
        addServerRow(list, i, -1, VPNServerItem::List_PremiumFavorite);
    if (list->count() > 0 && remembered != -1)
        list->setCurrentRow(qMin(remembered, list->count() - 1));
    makeVisibleRows(list);
    updateConnectButtons();
}

void MainWindow::fillDoubleCombos()
{
    QComboBox *first = ui->vpnDoubleServFirstComboBox;
    QComboBox *second = ui->vpnDoubleServSecondComboBox;
    first->setEnabled(false);
    const int remembered = first->currentIndex();
    {
        const QSignalBlocker blockFirst(first);
        const QSignalBlocker blockSecond(second);
        first->clear();
        second->clear();
        for (int i : ServerListRows::doubleEntries(servers))
            first->addItem(servers.at(i).cityName, i);
        first->model()->sort(0);
        if (first->count() > 0)
            first->setCurrentIndex(remembered >= 0 && remembered < first->count() ? remembered : 0);
        const int entry = first->currentData().isValid() ? first->currentData().toInt() : -1;
        if (entry >= 0 && entry < servers.size()) {
            for (int exit : ServerListRows::doubleExits(servers, entry))
                second->addItem(servers.at(exit).cityName, exit);
            second->model()->sort(0);
            ui->vpnDoubleServLocLabel1->setText(locationText(servers.at(entry)));
            setFlagDisc(flagPath(servers.at(entry).countryIso), ui->vpnDoubleServFlagLabel1);
        }
        second->setCurrentIndex(second->count() > 0 ? 0 : -1);
    }
    on_vpnDoubleServSecondComboBox_currentIndexChanged(second->currentIndex());
    first->setEnabled(true);
}

void MainWindow::on_vpnDoubleServFirstComboBox_currentIndexChanged(int index)
{
    // The fill itself changes the index while the combo is disabled.
    if (index >= 0 && ui->vpnDoubleServFirstComboBox->isEnabled())
        fillServerLists();
}

void MainWindow::on_vpnDoubleServSecondComboBox_currentIndexChanged(int index)
{
    QComboBox *second = ui->vpnDoubleServSecondComboBox;
    second->setEnabled(false);
    ui->vpnDoubleServConnectButton->setEnabled(index != -1);
    ui->vpnDoubleServFavServButton->setEnabled(index != -1);
    const int exit = index != -1 ? second->itemData(index).toInt() : -1;
    if (exit < 0 || exit >= servers.size()) {
        ui->vpnDoubleServFlagLabel2->clear();
        ui->vpnDoubleServLocLabel2->setText(tr("<not selected>"));
        ui->vpnDoubleServFavServButton->setChecked(false);
        return;
    }
    const VPNServer &server = servers.at(exit);
    ui->vpnDoubleServLocLabel2->setText(locationText(server));
    setFlagDisc(flagPath(server.countryIso), ui->vpnDoubleServFlagLabel2);
    const QVariant entry = ui->vpnDoubleServFirstComboBox->currentData();
    const int i = entry.isValid() ? entry.toInt() : -1;
    ui->vpnDoubleServFavServButton->setChecked(i >= 0 && i < servers.size()
                                               && servers.at(i).favoriteExits.contains(exit));
    second->setEnabled(true);
}
