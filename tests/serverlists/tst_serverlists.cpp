// Choosing a server by hand: the server pages, their rows and stars, favourites kept across a
// restart, and the availability check that drops what does not answer, with the real window
// and the local service.

#include "support/builders.h"
#include "support/testmain.h"
#include "support/windowrig.h"
#include "ui/pagenavigation.h"
#include "ui/vpnserveritem.h"
#include "core/favoriterules.h"

#include <QAccessible>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTcpServer>

namespace {

QJsonObject server(int id, const QString &ip, const QString &iso, const QString &country,
                   const QString &city)
{
    const QJsonObject place {{"countryIso", iso},
                             {"countryNameEn", country},
                             {"countryNameRu", country},
                             {"cityNameEn", city},
                             {"cityNameRu", city}};
    return {{"id", id}, {"ip", ip}, {"name", city}, {"geo", QJsonObject {{"def", place}}}};
}

// Two servers in Amsterdam, in record order before Tokyo and Frankfurt.
const QJsonArray Pool {server(101, "127.0.0.1", "NL", "Netherlands", "Amsterdam"),
                       server(102, "127.0.0.2", "NL", "Netherlands", "Amsterdam"),
                       server(109, "127.0.0.9", "JP", "Japan", "Tokyo"),
                       server(104, "127.0.0.4", "DE", "Germany", "Frankfurt")};

QStringList rowTexts(QListWidget *list)
{
    QStringList texts;
    for (int r = 0; r < list->count(); ++r)
        texts << list->item(r)->data(Qt::AccessibleTextRole).toString();
    return texts;
}

VPNServerItem *row(QListWidget *list, const QString &text)
{
    const int r = rowTexts(list).indexOf(text);
    return r < 0 ? nullptr : qobject_cast<VPNServerItem *>(list->itemWidget(list->item(r)));
}

void clickStar(QWidget *row)
{
    QVERIFY(row);
    row->findChild<QPushButton *>(QStringLiteral("favoriteButton"))->click();
}

} // namespace

class TestServerLists : public QObject
{
    Q_OBJECT

    // Signs in (or lets a window with remembered credentials do so) and takes the package
    // of that id (demo: 11 premium, 12 double); returns once its lists are filled.
    static bool choose(WindowRig &rig, int packageId, bool signIn = true)
    {
        WindowProbe p = rig.probe();
        p.savedPackageId() = packageId;
        if (packageId == 12)
            rig.dialogs.expect(); // the double one ends in two days: a warning
        if (signIn)
            rig.signIn();
        auto *next = rig.widget<QPushButton>("subsNextButton");
        return QTest::qWaitFor([&]() { return p.page() == Page_Connection && next->isEnabled(); },
                               10000);
    }

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void cleanup() { KESTRUNE_VERIFY_NO_QT_WARNINGS(); }

    void chooseServerOpensThePageOfTheKind_data()
    {
        QTest::addColumn<int>("subscription");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("connect");
        QTest::newRow("single") << 11 << int(Page_Servers) << "vpnServConnectButton";
        QTest::newRow("double") << 12 << int(Page_DoubleServers) << "vpnDoubleServConnectButton";
    }
    void chooseServerOpensThePageOfTheKind()
    {
        QFETCH(int, subscription);
        QFETCH(int, page);
        QFETCH(QString, connect);
        WindowRig rig(WindowRig::LocalService);
        rig.open();
        QVERIFY(choose(rig, subscription));
        rig.click("vpnConManualChoiceButton");
        QCOMPARE(rig.probe().page(), page);
        auto *button = rig.widget<QPushButton>(qPrintable(connect));
        QVERIFY(button->isEnabled());
        if (page == Page_DoubleServers) {
            rig.widget<QComboBox>("vpnDoubleServSecondComboBox")->setCurrentIndex(-1);
            QVERIFY(!button->isEnabled());
            QCOMPARE(rig.widget<QLabel>("vpnDoubleServLocLabel2")->text(), "<not selected>");
            return;
        }
        auto *all = rig.widget<QListWidget>("vpnServAllServListWidget");
        all->setCurrentRow(-1);
        QVERIFY(!button->isEnabled());
        all->setCurrentRow(1);
        QVERIFY(button->isEnabled());
        // The favourites list, empty, slides in: CONNECT stays off during and after.
        QSignalSpy slid(rig.widget<QWidget>("vpnServStackedWidget"), SIGNAL(animationFinished()));
        rig.widget<QWidget>("vpnServPage")->findChild<QPushButton *>("button")->click();
        QVERIFY(!button->isEnabled());
        QVERIFY(slid.wait(3000));
        QVERIFY(!button->isEnabled());
    }

    void changeWhileConnectedAsksFirst_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("Yes disconnects and leaves for the subscriptions") << true;
        QTest::newRow("No keeps the tunnel") << false;
    }
    void changeWhileConnectedAsksFirst()
    {
        QFETCH(bool, yes);
        WindowRig rig(WindowRig::LocalService);
        rig.open();
        QVERIFY(choose(rig, 11));
        rig.click("vpnConManualChoiceButton");
        rig.click("vpnServConnectButton");
        QVERIFY(rig.waitConnected());
        rig.dialogs.expect(1, yes ? QMessageBox::Yes : QMessageBox::No);
        rig.click("vpnConChangeSubButton");
        QCOMPARE(rig.dialogs.size(), 1);
        QCOMPARE(rig.probe().page(), yes ? int(Page_Subscription) : int(Page_Connection));
        QVERIFY(yes ? rig.waitIdle() : rig.probe().connected());
    }

    void starsKeepFavoritesAcrossARestart()
    {
        WindowRig rig(WindowRig::LocalService);
        rig.service.setServers(11, Pool);
        rig.open();
        QVERIFY(choose(rig, 11));
        auto *all = rig.widget<QListWidget>("vpnServAllServListWidget");
        auto *favorites = rig.widget<QListWidget>("vpnServFavServListWidget");
        QCOMPARE(rowTexts(all),
                 QStringList({"Germany | Frankfurt", "Japan | Tokyo", "Netherlands | Amsterdam"}));
        clickStar(row(all, "Japan | Tokyo"));
        clickStar(row(all, "Netherlands | Amsterdam"));
        QCOMPARE(rowTexts(favorites), QStringList({"Netherlands | Amsterdam", "Japan | Tokyo"}));
        clickStar(row(favorites, "Netherlands | Amsterdam"));
        QCOMPARE(rowTexts(favorites), QStringList {"Japan | Tokyo"});
        QVERIFY(!row(all, "Netherlands | Amsterdam")->isFavorite());

        rig.close();
        rig.open();
        QVERIFY(choose(rig, 11, false));
        favorites = rig.widget<QListWidget>("vpnServFavServListWidget");
        QCOMPARE(rowTexts(favorites), QStringList {"Japan | Tokyo"});
    }

    void doublePairsFromThePageAndTheRows()
    {
        WindowRig rig(WindowRig::LocalService);
        rig.open();
        QVERIFY(choose(rig, 12));
        auto *star = rig.widget<QPushButton>("vpnDoubleServFavServButton");
        auto *pairs = rig.widget<QListWidget>("vpnDoubleFavServListWidget");
        const QStringList amsterdamFrankfurt {"Netherlands | Amsterdam - Germany | Frankfurt"};
        star->click();
        QCOMPARE(rowTexts(pairs), amsterdamFrankfurt);
        QVERIFY(star->isChecked());
        star->click();
        QCOMPARE(pairs->count(), 0);
        star->click();
        clickStar(row(pairs, amsterdamFrankfurt.first()));
        QCOMPARE(pairs->count(), 0);
        QVERIFY(!star->isChecked());
    }

    // Servers at 127.0.0.1 answer on the listener's port; at 127.0.0.3 nothing listens.
    void availabilityCheckDropsWhatDoesNotAnswer_data()
    {
        QTest::addColumn<QJsonArray>("pool");
        QTest::addColumn<QStringList>("kept");
        QTest::newRow("a refused server goes; of two sharing an id only the first")
            << QJsonArray {server(5, "127.0.0.3", "NL", "Netherlands", "Amsterdam"),
                           server(5, "127.0.0.1", "DE", "Germany", "Berlin"),
                           server(6, "127.0.0.1", "EG", "Egypt", "Cairo"),
                           server(7, "127.0.0.3", "IE", "Ireland", "Dublin")}
            << QStringList {"Egypt | Cairo", "Germany | Berlin"};
        QTest::newRow("an empty list ends the wait at once") << QJsonArray() << QStringList();
    }
    void availabilityCheckDropsWhatDoesNotAnswer()
    {
        QFETCH(QJsonArray, pool);
        QFETCH(QStringList, kept);
        QTcpServer listener;
        QVERIFY(listener.listen(QHostAddress::LocalHost));
        WindowRig rig(WindowRig::LocalService);
        rig.service.setServers(11, pool);
        rig.open();
        rig.probe().availCheckPort() = listener.serverPort();
        rig.widget<QAbstractButton>("settingCheckAvailableServCheckBox")->setChecked(true);
        const QString finished = QStringLiteral("Availability check finished, %0 of %1 servers "
                                                "are reachable")
                                     .arg(kept.size())
                                     .arg(pool.size());
        QVERIFY(choose(rig, 11));
        QVERIFY(rig.log.contains(finished));
        QTRY_COMPARE_WITH_TIMEOUT(rowTexts(rig.widget<QListWidget>("vpnServAllServListWidget")),
                                  kept, 5000);
    }

    // A save rebuilds the favourites from the list; those of servers the list lacks (left out
    // by the availability check) were lost with it. Pairs are written "entry>exit,exit".
    void favoritesOfAbsentServersSurviveASave_data()
    {
        QTest::addColumn<int>("storedType");
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QStringList>("built");
        QTest::addColumn<QStringList>("saved");
        QTest::newRow("single: the absent one stays, the unstarred one goes")
            << 1 << QStringList {"192.0.2.1", "192.0.2.9"} << QStringList {"192.0.2.2"}
            << QStringList {"192.0.2.2", "192.0.2.9"};
        QTest::newRow("double: absent entry kept whole, absent exit kept on its entry")
            << 2 << QStringList {"192.0.2.1>192.0.2.2,192.0.2.9", "192.0.2.8>192.0.2.1"}
            << QStringList {"192.0.2.2>192.0.2.1"}
            << QStringList {"192.0.2.2>192.0.2.1", "192.0.2.1>192.0.2.9", "192.0.2.8>192.0.2.1"};
        QTest::newRow("another subscription's favourites are not mixed in")
            << 3 << QStringList {"192.0.2.9"} << QStringList {"192.0.2.2"}
            << QStringList {"192.0.2.2"};
    }
    void favoritesOfAbsentServersSurviveASave()
    {
        QFETCH(int, storedType);
        QFETCH(QStringList, stored);
        QFETCH(QStringList, built);
        QFETCH(QStringList, saved);
        const bool pairs = storedType == 2;
        auto read = [pairs](int type, const QStringList &texts) {
            FavoritesSettings values;
            values.subscriptionType = type;
            for (const QString &text : texts) {
                if (!pairs)
                    values.addresses.append(text);
                else
                    values.pairs.append({text.section('>', 0, 0),
                                         text.section('>', 1).split(',')});
            }
            return values;
        };
        const FavoritesSettings result = FavoriteRules::keepAbsentFavorites(
            read(pairs ? 2 : 1, built), read(storedType, stored), {"192.0.2.1", "192.0.2.2"});
        QStringList texts = result.addresses;
        for (const DoubleFavorite &pair : result.pairs)
            texts.append(pair.entryAddress + '>' + pair.exitAddresses.join(','));
        QCOMPARE(texts, saved);
    }

    // Names too long or with markup, codes that name no flag, ids repeated or negative, a
    // stored favourite that matches no server: plain rows, no warning, the matching one kept.
    void badServerDataStaysHarmless()
    {
        WindowRig rig(WindowRig::LocalService);
        const QString longName(10000, QLatin1Char('x'));
        rig.service.setServers(11,
                               {server(-3, "127.0.0.1", "ZZ", "<b>Bold</b>", longName),
                                server(8, "127.0.0.2", "", "Nowhere", "<i>x"),
                                server(8, "127.0.0.3", "../../flags/nl", "Land", "City")});
        QVERIFY(writeFile(rig.settingsFile(),
                          "[Favorives]\nPremiumSub\\1\\IP=127.0.0.99\n"
                          "PremiumSub\\2\\IP=127.0.0.3\nPremiumSub\\size=2\n"));
        rig.open();
        QVERIFY(choose(rig, 11));
        auto *all = rig.widget<QListWidget>("vpnServAllServListWidget");
        QCOMPARE(all->count(), 3);
        QCOMPARE(rowTexts(rig.widget<QListWidget>("vpnServFavServListWidget")),
                 QStringList {"Land | City"});
        VPNServerItem *bold = row(all, "<b>Bold</b> | " + longName);
        QVERIFY(bold);
        QCOMPARE(
            QAccessible::queryAccessibleInterface(bold->findChild<QPushButton *>("favoriteButton"))
                ->text(QAccessible::Name),
            "Favorite");
        QCOMPARE(bold->height(), row(all, "Land | City")->height());
        auto *text = bold->findChild<QLabel *>("locationLabel1");
        QCOMPARE(text->textFormat(), Qt::PlainText);
        QVERIFY(text->text().startsWith("<b>"));
        QVERIFY(bold->findChild<QLabel *>("flagLabel1")->pixmap(Qt::ReturnByValue).isNull());
        // The server of a row leaves the list: its star changes nothing and loses nothing.
        rig.probe().servers().removeFirst();
        clickStar(bold);
        QVERIFY(QSettings(rig.settingsFile(), QSettings::IniFormat)
                    .value("Favorives/PremiumSub/1/IP")
                    .toString()
                == "127.0.0.3");
    }
};

KESTRUNE_TEST_MAIN(TestServerLists)
#include "tst_serverlists.moc"
