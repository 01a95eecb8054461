// Choosing a server by hand: the server pages, their rows and stars, favourites kept across a
// restart, and the availability check that drops what does not answer, with the real window
// and the local service.

#include "core/favoriterules.h"
#include "support/builders.h"
#include "support/testmain.h"
#include "support/windowrig.h"
#include "ui/pagenavigation.h"
#include "ui/serverlistrows.h"
#include "ui/vpnserveritem.h"

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

using Favorites = FavoritesSettings;
Q_DECLARE_METATYPE(Favorites)

class TestServerLists : public QObject
{
    Q_OBJECT

    // Signs in (or lets a window with remembered credentials do so) and takes the package
    // of that id (demo: 11 premium, 12 double); returns once its lists are filled.
    static bool choose(WindowRig &rig, int packageId, bool signIn = true)
    {
        WindowProbe p = rig.probe();
        p.settings()->setPackageId(packageId);
        rig.dialogs.expect(packageId == 12 ? 1 : 0); // the double one ends in two days: a warning
        if (signIn)
            rig.signIn();
        auto *next = rig.widget<QPushButton>("subsNextButton");
        return QTest::qWaitFor([&]() { return p.page() == Page_Connection && next->isEnabled(); },
                               10000);
    }

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void cleanup() { KESTRUNE_VERIFY_NO_QT_WARNINGS(); }

    void serverPageOfTheKindConnectsAndStars_data()
    {
        QTest::addColumn<int>("subscription");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("connect");
        QTest::newRow("single") << 11 << int(Page_Servers) << "vpnServConnectButton";
        QTest::newRow("double") << 12 << int(Page_DoubleServers) << "vpnDoubleServConnectButton";
    }
    void serverPageOfTheKindConnectsAndStars()
    {
        QFETCH(int, subscription);
        QFETCH(int, page);
        QFETCH(QString, connect);
        WindowRig rig(WindowRig::LocalService);
        rig.service.setServers(11, Pool);
        rig.open();
        QVERIFY(choose(rig, subscription));
        rig.click("vpnConManualChoiceButton");
        QCOMPARE(rig.probe().page(), page);
        auto *button = rig.widget<QPushButton>(qPrintable(connect));
        QVERIFY(button->isEnabled());
        if (page == Page_DoubleServers) {
            // A pair starred on the page is unstarred from its row.
            auto *star = rig.widget<QPushButton>("vpnDoubleServFavServButton");
            auto *pairs = rig.widget<QListWidget>("vpnDoubleFavServListWidget");
            const QString amsterdamFrankfurt("Netherlands | Amsterdam - Germany | Frankfurt");
            star->click();
            QCOMPARE(rowTexts(pairs), QStringList {amsterdamFrankfurt});
            QVERIFY(star->isChecked());
            clickStar(row(pairs, amsterdamFrankfurt));
            QCOMPARE(pairs->count(), 0);
            QVERIFY(!star->isChecked());
            rig.widget<QComboBox>("vpnDoubleServSecondComboBox")->setCurrentIndex(-1);
            QVERIFY(!button->isEnabled());
            QCOMPARE(rig.widget<QLabel>("vpnDoubleServLocLabel2")->text(), "<not selected>");
            return;
        }
        auto *all = rig.widget<QListWidget>("vpnServAllServListWidget");
        QCOMPARE(rowTexts(all),
                 QStringList({"Germany | Frankfurt", "Japan | Tokyo", "Netherlands | Amsterdam"}));
        // The favourites list, empty, slides in: with no row chosen CONNECT goes off at once.
        QSignalSpy slid(rig.widget<QWidget>("vpnServStackedWidget"), SIGNAL(animationFinished()));
        rig.widget<QWidget>("vpnServPage")->findChild<QPushButton *>("button")->click();
        QVERIFY(!button->isEnabled());
        QVERIFY(slid.wait(3000));
        QVERIFY(!button->isEnabled());

        // Stars list the favourites in record order; they are kept across a restart.
        auto *favorites = rig.widget<QListWidget>("vpnServFavServListWidget");
        clickStar(row(all, "Japan | Tokyo"));
        clickStar(row(all, "Netherlands | Amsterdam"));
        QCOMPARE(rowTexts(favorites), QStringList({"Netherlands | Amsterdam", "Japan | Tokyo"}));
        clickStar(row(favorites, "Netherlands | Amsterdam"));
        QCOMPARE(rowTexts(favorites), QStringList {"Japan | Tokyo"});
        QVERIFY(!row(all, "Netherlands | Amsterdam")->isFavorite());
        rig.close();
        rig.open();
        QVERIFY(choose(rig, 11, false));
        QCOMPARE(rowTexts(rig.widget<QListWidget>("vpnServFavServListWidget")),
                 QStringList {"Japan | Tokyo"});
    }

    // No keeps the tunnel; Yes disconnects and leaves for the subscriptions.
    void changeWhileConnectedAsksFirst()
    {
        WindowRig rig(WindowRig::LocalService);
        rig.open();
        QVERIFY(choose(rig, 11));
        rig.click("vpnConManualChoiceButton");
        rig.click("vpnServConnectButton");
        QVERIFY(rig.waitConnected());
        rig.dialogs.expect(1, QMessageBox::No);
        rig.click("vpnConChangeSubButton");
        QCOMPARE(rig.probe().page(), int(Page_Connection));
        QVERIFY(rig.probe().connected());
        rig.dialogs.expect(1, QMessageBox::Yes);
        rig.click("vpnConChangeSubButton");
        QCOMPARE(rig.dialogs.size(), 2);
        QCOMPARE(rig.probe().page(), int(Page_Subscription));
        QVERIFY(rig.waitIdle());
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
        QVERIFY(choose(rig, 11));
        QTRY_COMPARE_WITH_TIMEOUT(rowTexts(rig.widget<QListWidget>("vpnServAllServListWidget")),
                                  kept, 5000);
    }

    // One series at a time: a sign-in during a check starts a second one, and the first one's
    // late reports (refused: to drop ids 1 and 2) must not touch the new list.
    void aSecondAvailabilitySeriesCutsTheFirstShort()
    {
        QTcpServer answering;
        QVERIFY(answering.listen(QHostAddress::LocalHost));
        WindowRig rig;
        rig.open();
        WindowProbe p = rig.probe();
        p.servers() = {::server(1, "127.0.0.1"), ::server(2, "127.0.0.1"),
                       ::server(3, "127.0.0.1")};
        p.availCheckPort() = rig.closedPort.port();
        rig.window()->startServerAvailabilityCheck();
        const QPointer<QThread> first = p.availCheckThread();
        p.servers() = {::server(1, "127.0.0.1"), ::server(2, "127.0.0.1")};
        p.availCheckPort() = answering.serverPort();
        rig.window()->startServerAvailabilityCheck();
        QTRY_VERIFY_WITH_TIMEOUT(first.isNull() && !p.availCheckThread(), 10000);
        QCOMPARE(p.servers().size(), 2);
        QCOMPARE(rig.widget<QLabel>("vpnConCheckServAvailLabel")->text(),
                 "<p><span style=\"font-size:13px;\">Checking servers (2/2)</span></p>");
    }

    // The all-locations list is alphabetical in the interface language, not by code point.
    void allLocationsInTheLanguagesOrder_data()
    {
        QTest::addColumn<QLocale>("language");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates)
                                 << QStringList {"Åland Islands", "albania", "Canada",
                                                 "Côte d'Ivoire", "Réunion", "São Tomé",
                                                 "Zimbabwe"};
        QTest::newRow("Russian") << QLocale(QLocale::Russian, QLocale::Russia)
                                 << QStringList {"Аландские острова", "Египет", "Ёлкино",
                                                 "Зимбабве", "Кот-д’Ивуар", "Реюньон", "Сан-Томе"};
    }
    void allLocationsInTheLanguagesOrder()
    {
        QFETCH(QLocale, language);
        QFETCH(QStringList, names);
        QVector<VPNServer> servers;
        for (int i = names.size() - 1; i >= 0; --i)
            servers << ::server(i, QString(), names.at(i), names.at(i));
        QStringList sorted;
        for (int i : ServerListRows::allLocations(servers, language))
            sorted << servers.at(i).countryName;
        QCOMPARE(sorted, names);
    }

    // A save rebuilds the favourites from the list; those of servers the list lacks (left out
    // by the availability check) were lost with it. Pairs are written "entry>exit,exit".
    // The list holds 192.0.2.1 and 192.0.2.2.
    void favoritesOfAbsentServersSurviveASave_data()
    {
        QTest::addColumn<Favorites>("stored");
        QTest::addColumn<Favorites>("built");
        QTest::addColumn<Favorites>("saved");
        QTest::newRow("single: the absent one stays, the unstarred one goes")
            << Favorites {1, {"192.0.2.1", "192.0.2.9"}, {}} << Favorites {1, {"192.0.2.2"}, {}}
            << Favorites {1, {"192.0.2.2", "192.0.2.9"}, {}};
        const DoubleFavorite built {"192.0.2.2", {"192.0.2.1"}}, gone {"192.0.2.8", {"192.0.2.1"}};
        QTest::newRow("double: absent entry kept whole, absent exit kept on its entry")
            << Favorites {2, {}, {{"192.0.2.1", {"192.0.2.2", "192.0.2.9"}}, gone}}
            << Favorites {2, {}, {built}}
            << Favorites {2, {}, {built, {"192.0.2.1", {"192.0.2.9"}}, gone}};
        QTest::newRow("another subscription's favourites are not mixed in")
            << Favorites {3, {"192.0.2.9"}, {}} << Favorites {1, {"192.0.2.2"}, {}}
            << Favorites {1, {"192.0.2.2"}, {}};
    }
    void favoritesOfAbsentServersSurviveASave()
    {
        QFETCH(Favorites, stored);
        QFETCH(Favorites, built);
        QFETCH(Favorites, saved);
        QCOMPARE(FavoriteRules::keepAbsentFavorites(built, stored, {"192.0.2.1", "192.0.2.2"}),
                 saved);
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
        QCOMPARE(bold->findChild<QPushButton *>("favoriteButton")->accessibleName(), "Favorite");
        auto *text = bold->findChild<QLabel *>("locationLabel1");
        QCOMPARE(text->textFormat(), Qt::PlainText);
        QVERIFY(text->text().startsWith("<b>"));
        QVERIFY(bold->findChild<QLabel *>("flagLabel1")->pixmap(Qt::ReturnByValue).isNull());
        // The server of a row leaves the list: its star changes nothing and loses nothing.
        rig.probe().servers().removeFirst();
        clickStar(bold);
        const QSettings file(rig.settingsFile(), QSettings::IniFormat);
        QCOMPARE(file.value("Favorives/PremiumSub/1/IP").toString(), "127.0.0.3");
    }
};

KESTRUNE_TEST_MAIN(TestServerLists)
#include "tst_serverlists.moc"
