// Shows the main window on the X display it is given, fills it with sample account data,
// switches to each page and saves a picture of the window. A development tool only.

#include "ui/deferredpage.h"
#include "ui/slidingstackedwidget.h"
#include "window/mainwindow.h"

#include <cstdio>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QResource>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

namespace {

template<typename T> T *child(QWidget *root, const char *name)
{
    T *found = DeferredPage::find<T>(root, QString::fromLatin1(name));
    if (!found)
        std::fprintf(stderr, "missing widget %s\n", name);
    return found;
}

void setText(QWidget *root, const char *name, const QString &text)
{
    if (auto *label = child<QLabel>(root, name))
        label->setText(text);
}

// A round flag, as the server lists show them.
void setFlag(QWidget *root, const char *name, const char *code)
{
    auto *label = child<QLabel>(root, name);
    const QPixmap flag(QStringLiteral(":/flag/images/flags/%1.png").arg(QLatin1String(code)));
    if (!label || flag.isNull())
        return;
    const int side = label->maximumHeight();
    QPixmap disc(side, side);
    disc.fill(Qt::transparent);
    QPainter painter(&disc);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath circle;
    circle.addEllipse(QRectF(0, 0, side, side));
    painter.setClipPath(circle);
    painter.drawPixmap(QRect(0, 0, side, side), flag);
    painter.end();
    label->setPixmap(disc);
}

// Sample data so that every page looks as it does for a signed-in user.
void fillSample(QWidget *w)
{
    const QString email = QStringLiteral("alex.morgan@example.com");
    for (const char *name : {"subsEmailLabel", "vpnConEmailLabel", "vpnServEmailLabel",
                             "vpnInfoEmailLabel", "vpnDoubleServEmailLabel"})
        setText(w, name, email);
    setText(w, "settingEmailLabel", QStringLiteral("<Not connected>"));

    child<QLineEdit>(w, "mainLoginLineEdit")->setText(QStringLiteral("alex.morgan"));
    child<QLineEdit>(w, "mainPswdLineEdit")->setText(QStringLiteral("password"));

    auto *subs = child<QComboBox>(w, "subsSubComboBox");
    subs->addItems({QStringLiteral("Premium · 12 months"), QStringLiteral("Double VPN")});
    subs->setEnabled(true);
    child<QPushButton>(w, "subsNextButton")->setEnabled(true);

    setText(w, "vpnConSubTypeLabel", QStringLiteral("Premium · 12 months"));
    setText(w, "vpnConSubLeftLabel", QStringLiteral("214 days left"));

    auto *all = child<QListWidget>(w, "vpnServAllServListWidget");
    for (const char *city : {"Austria | Vienna", "Canada | Toronto", "Finland | Helsinki",
                             "Germany | Frankfurt", "Japan | Tokyo", "Netherlands | Amsterdam",
                             "Switzerland | Zurich", "United Kingdom | London"}) {
        auto *item = new QListWidgetItem(QString::fromUtf8(city), all);
        item->setFont(QFont(QApplication::font().family(), 9));
        item->setSizeHint(QSize(200, 40));
    }

    setText(w, "vpnInfoProtocolLabel", QStringLiteral("OpenVPN UDP"));
    setText(w, "vpnInfoLocationLabel", QStringLiteral("Netherlands, Amsterdam"));
    setText(w, "vpnInfoTimeLabel", QStringLiteral("00:42:17"));
    child<QPushButton>(w, "vpnInfoNewIPButton")->setText(QStringLiteral("203.0.113.57"));
    child<QPushButton>(w, "vpnInfoOrIPButton")->setText(QStringLiteral("198.51.100.14"));
    setText(w, "vpnInfoSpeedInLabel", QStringLiteral("2.4 Mb/s"));
    setText(w, "vpnInfoSpeedOutLabel", QStringLiteral("310.2 Kb/s"));
    setText(w, "vpnInfoTrafficInLabel", QStringLiteral("148.6 MB"));
    setText(w, "vpnInfoTrafficOutLabel", QStringLiteral("12.9 MB"));
    child<QComboBox>(w, "vpnInfoChangeIPComboBox")
        ->addItems({QStringLiteral("Netherlands | Amsterdam"), QStringLiteral("Japan | Tokyo")});

    auto *first = child<QComboBox>(w, "vpnDoubleServFirstComboBox");
    first->addItems({QStringLiteral("Amsterdam"), QStringLiteral("Zurich")});
    auto *second = child<QComboBox>(w, "vpnDoubleServSecondComboBox");
    second->addItems({QStringLiteral("Helsinki"), QStringLiteral("Toronto")});
    setText(w, "vpnDoubleServLocLabel1", QStringLiteral("Netherlands | Amsterdam"));
    setText(w, "vpnDoubleServLocLabel2", QStringLiteral("Finland | Helsinki"));
    child<QPushButton>(w, "vpnDoubleServConnectButton")->setEnabled(true);
    setFlag(w, "vpnDoubleServFlagLabel1", "nl");
    setFlag(w, "vpnDoubleServFlagLabel2", "fi");
    child<QPushButton>(w, "vpnDoubleServFavServButton")->setEnabled(true);
}

const char *const pageFiles[] = {"page-1-signin",     "page-2-authorization", "page-3-subscription",
                                 "page-4-connection", "page-5-servers",       "page-6-information",
                                 "page-7-double",     "page-8-about",         "page-9-settings"};

} // namespace

int main(int argc, char *argv[])
{
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const QString outDir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(outDir);
    // Further arguments are compiled resource files (rcc -binary) with pictures that are
    // not built into this checkout yet.
    for (int i = 2; i < argc; ++i) {
        if (!QResource::registerResource(QString::fromLocal8Bit(argv[i])))
            std::fprintf(stderr, "cannot register %s\n", argv[i]);
    }

    // Without the client's own font the pictures use Open Sans, the closest at hand.
    if (QFontDatabase().families().contains(QStringLiteral("Open Sans")))
        QApplication::setFont(QFont(QStringLiteral("Open Sans")));

    QTemporaryDir data;
    MainWindow window(data.path());
    fillSample(&window);
    window.show();

    auto *stack = window.findChild<SlidingStackedWidget *>(QStringLiteral("stackedWidget"));
    int page = 0;
    int failures = 0;
    QTimer shooter;
    shooter.setInterval(600); // let each page's hint finish rising
    QObject::connect(&shooter, &QTimer::timeout, &app, [&]() {
        if (page > 0) {
            const QString path = outDir + QLatin1Char('/')
                + QString::fromLatin1(pageFiles[page - 1]) + QStringLiteral(".png");
            if (!window.grab().save(path)) {
                std::fprintf(stderr, "cannot save %s\n", qPrintable(path));
                ++failures;
            } else {
                std::printf("%s\n", qPrintable(path));
            }
        }
        if (page == 9) {
            app.exit(failures ? 1 : 0);
            return;
        }
        stack->setCurrentIndex(page);
        ++page;
    });
    QTimer::singleShot(300, &shooter, SLOT(start()));
    return app.exec();
}
