// Every picture, flag and font the window and its style sheets name must resolve inside the
// executable, at the size the layout was drawn for: a missing or misnamed resource shows as
// an empty label or button, never as an error.

#include "support/testmain.h"

#include <QDirIterator>
#include <QFile>
#include <QFontDatabase>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QRegularExpression>
#include <QSet>

namespace {

// Drawn at twice the scale, as on a high-DPI screen, so that Qt looks for the "@2x"
// pictures; set before the application object reads it.
const bool kHighDpiScreen = qputenv("QT_SCALE_FACTOR", "2");

struct Picture
{
    const char *path;
    int width;
    int height;
};

// Pictures with a high-DPI "@2x" companion of twice the size.
const Picture kPictures[] = {
    {":/images/interface/logo.png", 96, 96},
    {":/images/interface/logo_white.png", 96, 96},
    {":/images/interface/logo_text.png", 168, 28},
    {":/images/interface/user.png", 20, 20},
    {":/images/interface/settings.png", 20, 20},
    {":/images/interface/settings_hover.png", 20, 20},
    {":/images/interface/settings_pressed.png", 20, 20},
    {":/images/interface/settings_disabled.png", 20, 20},
    {":/images/interface/logout.png", 20, 20},
    {":/images/interface/logout_hover.png", 20, 20},
    {":/images/interface/logout_pressed.png", 20, 20},
    {":/images/interface/logout_disabled.png", 20, 20},
    {":/images/interface/back.png", 20, 20},
    {":/images/interface/back_hover.png", 20, 20},
    {":/images/interface/back_pressed.png", 20, 20},
    {":/images/interface/back_disabled.png", 20, 20},
    {":/images/interface/info.png", 20, 20},
    {":/images/interface/info_hover.png", 20, 20},
    {":/images/interface/info_pressed.png", 20, 20},
    {":/images/interface/info_disabled.png", 20, 20},
    {":/images/interface/field_login.png", 16, 16},
    {":/images/interface/field_login_focus.png", 16, 16},
    {":/images/interface/field_password.png", 16, 16},
    {":/images/interface/field_password_focus.png", 16, 16},
    {":/images/interface/combo_arrow.png", 12, 12},
    {":/images/interface/combo_arrow_hover.png", 12, 12},
    {":/images/interface/combo_arrow_disabled.png", 12, 12},
    {":/images/interface/combo_arrow_open.png", 12, 12},
    {":/images/interface/checkbox_unchecked.png", 16, 16},
    {":/images/interface/checkbox_unchecked_hover.png", 16, 16},
    {":/images/interface/checkbox_unchecked_disabled.png", 16, 16},
    {":/images/interface/checkbox_checked.png", 16, 16},
    {":/images/interface/checkbox_checked_hover.png", 16, 16},
    {":/images/interface/checkbox_checked_disabled.png", 16, 16},
    {":/images/interface/radio_unchecked.png", 16, 16},
    {":/images/interface/radio_unchecked_hover.png", 16, 16},
    {":/images/interface/radio_unchecked_disabled.png", 16, 16},
    {":/images/interface/radio_checked.png", 16, 16},
    {":/images/interface/radio_checked_hover.png", 16, 16},
    {":/images/interface/radio_checked_disabled.png", 16, 16},
    {":/images/interface/status_connected.png", 48, 48},
    {":/images/interface/status_disconnected.png", 48, 48},
    {":/sub/images/interface/sub_premium.png", 40, 40},
    {":/sub/images/interface/sub_double.png", 40, 40},
    {":/sub/images/interface/sub_onion.png", 40, 40},
    {":/sub/images/interface/sub_default.png", 40, 40},
    {":/sub/images/interface/sub_premium_mini.png", 16, 16},
    {":/sub/images/interface/sub_premium_mini_disabled.png", 16, 16},
    {":/sub/images/interface/sub_double_mini.png", 16, 16},
    {":/sub/images/interface/sub_double_mini_disabled.png", 16, 16},
    {":/sub/images/interface/sub_onion_mini.png", 16, 16},
    {":/sub/images/interface/sub_onion_mini_disabled.png", 16, 16},
    {":/favorite/images/interface/favorive_server_checked.png", 28, 28},
    {":/favorite/images/interface/favorive_server_unchecked.png", 28, 28},
    {":/favorite/images/interface/favorive_server_checked_mini.png", 16, 16},
    {":/favorite/images/interface/favorive_server_unchecked_mini.png", 16, 16},
    {":/statwindow/images/interface/stat_logo.png", 120, 24},
    {":/statwindow/images/interface/stat_close_button.png", 12, 12},
    {":/statwindow/images/interface/stat_close_button_hover.png", 12, 12},
    {":/statwindow/images/interface/stat_close_button_pressed.png", 12, 12},
};

const char kAppIcon[] = ":/images/icons/ksvpn.ico";
const char kAppIconPng[] = ":/images/icons/ksvpn.png";
const char *const kTrayIcons[] = {
    ":/tray/images/icons/tray/tray_state_unconnected.ico",
    ":/tray/images/icons/tray/tray_state_connecting.ico",
    ":/tray/images/icons/tray/tray_state_connected.ico",
};
const char kFont[] = ":/font/fonts/font.ttf";
const char kFlagDir[] = ":/flag/images/flags/";
const int kFlagSide = 48;

// ISO 3166-1 alpha-2, every officially assigned code.
const char kCountries[]
    = "ad ae af ag ai al am ao aq ar as at au aw ax az ba bb bd be bf bg bh bi bj bl bm bn bo "
      "bq br bs bt bv bw by bz ca cc cd cf cg ch ci ck cl cm cn co cr cu cv cw cx cy cz de dj "
      "dk dm do dz ec ee eg eh er es et fi fj fk fm fo fr ga gb gd ge gf gg gh gi gl gm gn gp "
      "gq gr gs gt gu gw gy hk hm hn hr ht hu id ie il im in io iq ir is it je jm jo jp ke kg "
      "kh ki km kn kp kr kw ky kz la lb lc li lk lr ls lt lu lv ly ma mc md me mf mg mh mk ml "
      "mm mn mo mp mq mr ms mt mu mv mw mx my mz na nc ne nf ng ni nl no np nr nu nz om pa pe "
      "pf pg ph pk pl pm pn pr ps pt pw py qa re ro rs ru rw sa sb sc sd se sg sh si sj sk sl "
      "sm sn so sr ss st sv sx sy sz tc td tf tg th tj tk tl tm tn to tr tt tv tw tz ua ug um "
      "us uy uz va vc ve vg vi vn vu wf ws ye yt za zm zw";
// Beside the countries, servers may be labelled with these.
const char kExtraFlags[] = "eu un";

QString highDpiPath(const QString &path)
{
    return QString(path).replace(QLatin1String(".png"), QLatin1String("@2x.png"));
}

QStringList flagCodes()
{
    return QString::fromLatin1(kCountries).split(QLatin1Char(' '))
        + QString::fromLatin1(kExtraFlags).split(QLatin1Char(' '));
}

QList<QSize> frameSizes(const QString &path)
{
    QList<QSize> sizes;
    QImageReader reader(path);
    for (int i = 0; i < reader.imageCount(); ++i) {
        if (!reader.jumpToImage(i))
            break;
        const QImage frame = reader.read();
        if (!frame.isNull())
            sizes.append(frame.size());
    }
    return sizes;
}

// Share of the opaque, not white pixels (white marks such as ticks are left out) whose colour lies
// within a small distance of the given one.
double shareOfColour(const QImage &image, QRgb colour)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    int opaque = 0;
    int matching = 0;
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb px = argb.pixel(x, y);
            if (qAlpha(px) < 250 || (qRed(px) > 245 && qGreen(px) > 245 && qBlue(px) > 245))
                continue;
            ++opaque;
            if (qAbs(qRed(px) - qRed(colour)) <= 6 && qAbs(qGreen(px) - qGreen(colour)) <= 6
                && qAbs(qBlue(px) - qBlue(colour)) <= 6)
                ++matching;
        }
    }
    return opaque ? double(matching) / opaque : 0.0;
}

} // namespace

class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void pictureResolvesAtItsSize_data();
    void pictureResolvesAtItsSize();
    void highDpiVariantIsFoundByIcons_data();
    void highDpiVariantIsFoundByIcons();
    void stateVariantShowsItsColour_data();
    void stateVariantShowsItsColour();
    void iconFileHoldsEverySize_data();
    void iconFileHoldsEverySize();
    void applicationFontGivesAFamily();
    void countryHasASquareFlag_data();
    void countryHasASquareFlag();
    void flagFileNamesAreLowerCaseCodes();
    void noUnlistedPictureInTheCollections();
};

void TestResources::initTestCase()
{
    KestruneTest::guardQtWarnings();
    QVERIFY(kHighDpiScreen);
    QCOMPARE(qApp->devicePixelRatio(), 2.0);
}

void TestResources::cleanup()
{
    KESTRUNE_VERIFY_NO_QT_WARNINGS();
}

void TestResources::pictureResolvesAtItsSize_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    for (const Picture &p : kPictures) {
        const QString path = QString::fromLatin1(p.path);
        QTest::newRow(p.path) << path << QSize(p.width, p.height);
        const QString twice = highDpiPath(path);
        QTest::newRow(qPrintable(twice)) << twice << QSize(p.width * 2, p.height * 2);
    }
    QTest::newRow(kAppIconPng) << QString::fromLatin1(kAppIconPng) << QSize(256, 256);
}

void TestResources::pictureResolvesAtItsSize()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    QVERIFY2(QFile::exists(path), qPrintable(path));
    const QImage image(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    QCOMPARE(image.size(), size);
    QVERIFY(image.hasAlphaChannel());
}

void TestResources::highDpiVariantIsFoundByIcons_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    for (const Picture &p : kPictures)
        QTest::newRow(p.path) << QString::fromLatin1(p.path) << QSize(p.width, p.height);
}

// Qt looks for "name@2x.png" beside "name.png" when it builds an icon or a style-sheet
// image for a high-DPI screen; the alias has to follow that pattern exactly.
void TestResources::highDpiVariantIsFoundByIcons()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    const bool wasSet = QCoreApplication::testAttribute(Qt::AA_UseHighDpiPixmaps);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps, true);
    const QIcon icon(path);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps, wasSet);
    const QList<QSize> sizes = icon.availableSizes();
    QVERIFY2(sizes.contains(size), qPrintable(path));
    QVERIFY2(sizes.contains(size * 2), qPrintable(path));
}

void TestResources::stateVariantShowsItsColour_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QRgb>("colour");
    const QRgb accent = qRgb(0xfb, 0x7c, 0x2f);
    const QRgb pressed = qRgb(0xe9, 0x30, 0x23);
    const QRgb idle = qRgb(0x7a, 0x7a, 0x7a);
    for (const char *icon : {"settings", "logout", "back", "info"}) {
        const QString base = QStringLiteral(":/images/interface/%1").arg(QLatin1String(icon));
        QTest::addRow("%s idle", icon) << base + QStringLiteral(".png") << idle;
        QTest::addRow("%s hover", icon) << base + QStringLiteral("_hover.png") << accent;
        QTest::addRow("%s pressed", icon) << base + QStringLiteral("_pressed.png") << pressed;
    }
    QTest::newRow("checked box") << ":/images/interface/checkbox_checked.png" << accent;
    QTest::newRow("checked radio") << ":/images/interface/radio_checked.png" << accent;
    QTest::newRow("combo arrow hover") << ":/images/interface/combo_arrow_hover.png" << accent;
    QTest::newRow("login field focus") << ":/images/interface/field_login_focus.png" << accent;
    QTest::newRow("favourite") << ":/favorite/images/interface/favorive_server_checked.png"
                               << accent;
    QTest::newRow("subscription") << ":/sub/images/interface/sub_premium_mini.png" << accent;
    QTest::newRow("stat close pressed")
        << ":/statwindow/images/interface/stat_close_button_pressed.png" << pressed;
}

// The state pictures are recoloured copies of one drawing: a copy that kept the idle
// colour would make hover and press invisible.
void TestResources::stateVariantShowsItsColour()
{
    QFETCH(QString, path);
    QFETCH(QRgb, colour);
    const QImage image(highDpiPath(path));
    QVERIFY2(!image.isNull(), qPrintable(path));
    QVERIFY2(shareOfColour(image, colour) > 0.5,
             qPrintable(QStringLiteral("%1 is not mainly #%2")
                            .arg(path)
                            .arg(colour & 0xffffff, 6, 16, QLatin1Char('0'))));
}

void TestResources::iconFileHoldsEverySize_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QList<int>>("sides");
    QTest::newRow("application") << QString::fromLatin1(kAppIcon)
                                 << QList<int> {16, 24, 32, 48, 64, 128, 256};
    for (const char *tray : kTrayIcons)
        QTest::newRow(tray) << QString::fromLatin1(tray) << QList<int> {16, 20, 24, 32, 40, 48, 64};
}

void TestResources::iconFileHoldsEverySize()
{
    QFETCH(QString, path);
    QFETCH(QList<int>, sides);
    QVERIFY2(QFile::exists(path), qPrintable(path));
    const QList<QSize> frames = frameSizes(path);
    for (int side : sides)
        QVERIFY2(frames.contains(QSize(side, side)),
                 qPrintable(QStringLiteral("%1 lacks %2 px").arg(path).arg(side)));
    // The tray and the window take the icon through QIcon, which must see every frame.
    const QList<QSize> available = QIcon(path).availableSizes();
    for (int side : sides)
        QVERIFY(available.contains(QSize(side, side)));
}

void TestResources::applicationFontGivesAFamily()
{
    QVERIFY(QFile::exists(QString::fromLatin1(kFont)));
    const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(kFont));
    QVERIFY(id != -1);
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    QVERIFY(!families.isEmpty());
    QCOMPARE(families.first(), QStringLiteral("Open Sans"));
    QFontDatabase::removeApplicationFont(id);
}

void TestResources::countryHasASquareFlag_data()
{
    QTest::addColumn<QString>("code");
    for (const QString &code : flagCodes())
        QTest::newRow(qPrintable(code)) << code;
}

void TestResources::countryHasASquareFlag()
{
    QFETCH(QString, code);
    const QString path = QLatin1String(kFlagDir) + code + QLatin1String(".png");
    QVERIFY2(QFile::exists(path), qPrintable(path));
    const QImage flag(path);
    QVERIFY2(!flag.isNull(), qPrintable(path));
    QCOMPARE(flag.size(), QSize(kFlagSide, kFlagSide));
}

// Server lists build the path from the lower-case country code; a file named otherwise
// would never be found.
void TestResources::flagFileNamesAreLowerCaseCodes()
{
    const QRegularExpression name(QStringLiteral("^[a-z]{2}\\.png$"));
    const QStringList codes = flagCodes();
    const QSet<QString> expected(codes.cbegin(), codes.cend());
    QSet<QString> found;
    QDirIterator it(QString::fromLatin1(kFlagDir), QDir::Files);
    while (it.hasNext()) {
        it.next();
        QVERIFY2(name.match(it.fileName()).hasMatch(), qPrintable(it.fileName()));
        found.insert(it.fileName().chopped(4));
    }
    QCOMPARE(found, expected);
}

// A picture that no code path names is dead weight, and usually a misspelt name.
void TestResources::noUnlistedPictureInTheCollections()
{
    QSet<QString> listed;
    for (const Picture &p : kPictures) {
        listed.insert(QString::fromLatin1(p.path));
        listed.insert(highDpiPath(QString::fromLatin1(p.path)));
    }
    listed.insert(QString::fromLatin1(kAppIcon));
    listed.insert(QString::fromLatin1(kAppIconPng));
    for (const char *tray : kTrayIcons)
        listed.insert(QString::fromLatin1(tray));
    listed.insert(QString::fromLatin1(kFont));

    QStringList unlisted;
    for (const char *root :
         {":/images", ":/sub", ":/favorite", ":/statwindow", ":/tray", ":/font"}) {
        QDirIterator it(QString::fromLatin1(root), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (!listed.contains(path))
                unlisted.append(path);
        }
    }
    QVERIFY2(unlisted.isEmpty(), qPrintable(unlisted.join(QLatin1String(", "))));
}

KESTRUNE_TEST_MAIN(TestResources)
#include "tst_resources.moc"
