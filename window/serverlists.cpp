// MainWindow: the server page's lists and the double page's combos, filled from servers.

#include "window/mainwindow.h"
#include "ui/messagedialogs.h"
#include "ui_mainwindow.h"

#include <QListWidgetItem>
#include <QSet>

namespace {

QString locationText(const VPNServer &server)
{
    return server.countryName + QStringLiteral(" | ") + server.cityName;
}

QIcon flagIcon(const VPNServer &server)
{
    return QIcon(QStringLiteral(":/flag/images/flags/") + server.countryIso.toLower()
                 + QStringLiteral(".png"));
}

// A location is its city: the first server of a city stands for all of it. Returns false
// for a city already in seen.
bool firstOfCity(QSet<QString> &seen, const QString &city)
{
    if (seen.contains(city))
        return false;
    seen.insert(city);
    return true;
}

// The lists draw no selection background; the chosen row shows in the accent colour.
void markSelectionByColour(QListWidget *list)
{
    QPalette palette = list->palette();
    palette.setColor(QPalette::HighlightedText, QColor(0xfb, 0x7c, 0x2f));
    list->setPalette(palette);
}

QListWidgetItem *serverRow(const VPNServer &server)
{
    auto *item = new QListWidgetItem(flagIcon(server), locationText(server));
    item->setData(Qt::UserRole, server.id);
    return item;
}

} // namespace

void MainWindow::fillServerLists()
{
    const int type = currentSubIndex >= 0 && currentSubIndex < subscriptions.size()
        ? subscriptions.at(currentSubIndex).type
        : 0;
    if (type < 1 || type > 4) {
        showErrorDialog(10, {}, dialogParent());
        return;
    }

    if (type == 2) {
        QComboBox *first = ui->vpnDoubleServFirstComboBox;
        QComboBox *second = ui->vpnDoubleServSecondComboBox;
        first->setEnabled(false);
        const int remembered = first->currentIndex();
        {
            const QSignalBlocker blockFirst(first);
            const QSignalBlocker blockSecond(second);
            first->clear();
            second->clear();
            QSet<QString> cities;
            for (int i = 0; i < servers.size(); ++i) {
                const VPNServer &server = servers.at(i);
                if (!server.doubleEntry || !firstOfCity(cities, server.cityName))
                    continue;
                first->addItem(server.cityName, i);
            }
            first->model()->sort(0);
            if (first->count() > 0)
                first->setCurrentIndex(remembered >= 0 && remembered < first->count() ? remembered
                                                                                      : 0);
            const int entry = first->currentData().isValid() ? first->currentData().toInt() : -1;
            if (entry >= 0 && entry < servers.size()) {
                QSet<QString> exitCities;
                for (int exit : servers.at(entry).doubleExits) {
                    if (exit < 0 || exit >= servers.size()
                        || !firstOfCity(exitCities, servers.at(exit).cityName))
                        continue;
                    second->addItem(servers.at(exit).cityName, exit);
                }
                second->model()->sort(0);
                ui->vpnDoubleServLocLabel1->setText(locationText(servers.at(entry)));
                ui->vpnDoubleServFlagLabel1->setPixmap(
                    flagIcon(servers.at(entry)).pixmap(ui->vpnDoubleServFlagLabel1->size()));
            }
            second->setCurrentIndex(second->count() > 0 ? 0 : -1);
        }
        on_vpnDoubleServSecondComboBox_currentIndexChanged(second->currentIndex());
        first->setEnabled(true);
        return;
    }

    QListWidget *list = ui->vpnServAllServListWidget;
    markSelectionByColour(list);
    const int remembered = list->currentRow();
    list->clear();
    QSet<QString> cities;
    for (int i = 0; i < servers.size(); ++i)
        if (firstOfCity(cities, servers.at(i).cityName))
            list->addItem(serverRow(servers.at(i)));
    list->sortItems(Qt::AscendingOrder);

    int row = -1;
    if (remembered != -1 && remembered < list->count()) {
        row = remembered;
    } else if (list->count() > 0) {
        row = 0;
        if (firstServerIndex >= 0 && firstServerIndex < servers.size()) {
            for (int r = 0; r < list->count(); ++r)
                if (list->item(r)->data(Qt::UserRole).toInt() == servers.at(firstServerIndex).id) {
                    row = r;
                    break;
                }
        }
    }
    if (row >= 0) {
        list->setCurrentRow(row);
        list->scrollToItem(list->item(row));
    }
}

void MainWindow::fillFavoriteLists()
{
    const int type = currentSubIndex >= 0 && currentSubIndex < subscriptions.size()
        ? subscriptions.at(currentSubIndex).type
        : 0;
    if (type == 2) {
        QListWidget *pairs = ui->vpnDoubleFavServListWidget;
        pairs->clear();
        for (int i = 0; i < servers.size(); ++i) {
            if (!servers.at(i).doubleEntry)
                continue;
            for (int j : servers.at(i).favoriteExits) {
                if (j == i || j < 0 || j >= servers.size())
                    continue;
                auto *item = new QListWidgetItem(flagIcon(servers.at(i)),
                                                 locationText(servers.at(i)) + QStringLiteral(" → ")
                                                     + locationText(servers.at(j)));
                item->setData(Qt::UserRole, servers.at(i).id);
                item->setData(Qt::UserRole + 1, servers.at(j).id);
                pairs->addItem(item);
            }
        }
        return;
    }

    QListWidget *list = ui->vpnServFavServListWidget;
    markSelectionByColour(list);
    const int remembered = list->currentRow();
    list->clear();
    // A favourite whose city an earlier server already stands for gets no row of its own.
    QSet<QString> cities;
    for (int i = 0; i < servers.size(); ++i) {
        const bool first = firstOfCity(cities, servers.at(i).cityName);
        if (servers.at(i).favorite && first)
            list->addItem(serverRow(servers.at(i)));
    }
    if (list->count() > 0 && remembered != -1)
        list->setCurrentRow(qMin(remembered, list->count() - 1));
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
        return;
    }
    const VPNServer &server = servers.at(exit);
    ui->vpnDoubleServLocLabel2->setText(locationText(server));
    ui->vpnDoubleServFlagLabel2->setPixmap(
        flagIcon(server).pixmap(ui->vpnDoubleServFlagLabel2->size()));
    const int entry = ui->vpnDoubleServFirstComboBox->currentData().isValid()
        ? ui->vpnDoubleServFirstComboBox->currentData().toInt()
        : -1;
    const bool favourite
        = entry >= 0 && entry < servers.size() && servers.at(entry).favoriteExits.contains(exit);
    ui->vpnDoubleServFavServButton->setCheckable(true);
    ui->vpnDoubleServFavServButton->setChecked(favourite);
    second->setEnabled(true);
}
