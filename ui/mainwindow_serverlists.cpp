// MainWindow: the server page's lists and the double page's combos, filled from servers.

#include "app/mainwindow.h"
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
        const bool exitShown = second->currentIndex() != -1;
        ui->vpnDoubleServConnectButton->setEnabled(exitShown);
        ui->vpnDoubleServFavServButton->setEnabled(exitShown);
        const int exit = exitShown ? second->currentData().toInt() : -1;
        if (exit >= 0 && exit < servers.size()) {
            ui->vpnDoubleServLocLabel2->setText(locationText(servers.at(exit)));
            ui->vpnDoubleServFlagLabel2->setPixmap(
                flagIcon(servers.at(exit)).pixmap(ui->vpnDoubleServFlagLabel2->size()));
        } else {
            ui->vpnDoubleServLocLabel2->setText(tr("<not selected>"));
            ui->vpnDoubleServFlagLabel2->clear();
        }
        first->setEnabled(true);
        return;
    }

    QListWidget *list = ui->vpnServAllServListWidget;
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
