#include "support/testmain.h"
#include "ui/statwidget.h"

#include <algorithm>

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QWindow>

namespace {

template<typename T> T *child(QWidget *window, const char *name)
{
    return window->findChild<T *>(QLatin1String(name));
}

QString labelText(QWidget *window, const char *name)
{
    QLabel *label = child<QLabel>(window, name);
    return label ? label->text() : QStringLiteral("<no label %1>").arg(QLatin1String(name));
}

// The offscreen platform cannot raise a window or change its opacity and says so each time;
// that is the test platform's limit, not a fault of the window.
QStringList warningsBesidesPlatformLimits()
{
    QStringList warnings = KestruneTest::takeUnexpectedQtWarnings();
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        static const QRegularExpression limits(
            QStringLiteral("^This plugin does not support (raise\\(\\)|setting window opacity)$"));
        warnings.erase(std::remove_if(warnings.begin(), warnings.end(),
                                      [](const QString &w) { return limits.match(w).hasMatch(); }),
                       warnings.end());
    }
    return warnings;
}

// A mouse that behaves as a user's: the cursor has a place on the screen, a press goes to the
// widget under it (labels let it through), and later moves and the release go to that widget
// with positions measured from wherever the window is by then.
class Mouse
{
public:
    explicit Mouse(QWidget *window)
        : m_window(window)
    { }

    void press(const QPoint &local)
    {
        m_global = m_window->mapToGlobal(local);
        QWidget *under = m_window->childAt(local);
        m_grabber = under ? under : m_window.data();
        send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
    }
    void moveBy(const QPoint &delta)
    {
        m_global += delta;
        send(QEvent::MouseMove, Qt::NoButton, m_grabber ? Qt::LeftButton : Qt::NoButton);
    }
    void release()
    {
        send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
        m_grabber = nullptr;
    }
    // A window that closes on the release deletes itself once control is back in the event
    // loop that delivered the release, so that release has to come from an event loop, as a
    // user's does; the caller then waits in one.
    void releaseFromEventLoop()
    {
        QWidget *target = m_grabber ? m_grabber.data() : m_window.data();
        QCoreApplication::postEvent(target,
                                    new QMouseEvent(QEvent::MouseButtonRelease,
                                                    target->mapFromGlobal(m_global), m_global,
                                                    Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
        m_grabber = nullptr;
    }

private:
    void send(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QWidget *target = m_grabber ? m_grabber.data() : m_window.data();
        if (!target)
            return;
        QMouseEvent event(type, target->mapFromGlobal(m_global), m_global, button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }

    QPointer<QWidget> m_window;
    QPointer<QWidget> m_grabber;
    QPoint m_global;
};

} // namespace

// Stands in for the main window's side of the statistics connections.
class StatSource : public QObject
{
    Q_OBJECT

public:
    QPoint lastPosition;

signals:
    void statWidgetTimeChanged(QString);
    void statWidgetTrafficChanged(QString, QString);
    void statWidgetSpeedChanged(QString, QString);
    void statWidgetClose();
    void reported();

public slots:
    void statWidgetClosed(QPoint position)
    {
        lastPosition = position;
        emit reported();
    }
};

class TestStatWidget : public QObject
{
    Q_OBJECT

private:
    QPointer<StatWidget> m_window;

    // A shown window at pos, fully faded in, so mouse events reach it as they would a user's.
    StatWidget *openAt(const QPoint &pos)
    {
        m_window = new StatWidget(QVariantList {pos}, nullptr);
        m_window->show();
        if (!QTest::qWaitForWindowExposed(m_window))
            return nullptr;
        return m_window;
    }

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void cleanup()
    {
        delete m_window;
        const QStringList warnings = warningsBesidesPlatformLimits();
        QVERIFY2(warnings.isEmpty(), qPrintable("Qt warned: " + warnings.join(" | ")));
    }

    void formStartsWithItsTitlesAndZeroValues_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("time title") << "timeTitleLabel"
                                    << "Time:";
        QTest::newRow("time") << "timeLabel"
                              << "0 s";
        QTest::newRow("speed heading") << "speedTitleLabel"
                                       << "Speed";
        QTest::newRow("download title") << "speedInTitleLabel"
                                        << "Download:";
        QTest::newRow("download") << "speedInLabel"
                                  << "0 b/s";
        QTest::newRow("upload title") << "speedOutTitleLabel"
                                      << "Upload:";
        QTest::newRow("upload") << "speedOutLabel"
                                << "0 b/s";
        QTest::newRow("traffic heading") << "trafficTitleLabel"
                                         << "Traffic";
        QTest::newRow("in title") << "trafficInTitleLabel"
                                  << "In:";
        QTest::newRow("in") << "trafficInLabel"
                            << "0 B";
        QTest::newRow("out title") << "trafficOutTitleLabel"
                                   << "Out:";
        QTest::newRow("out") << "trafficOutLabel"
                             << "0 B";
    }
    void formStartsWithItsTitlesAndZeroValues()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        StatWidget window(QVariantList {QPoint(10, 10)}, nullptr);
        QCOMPARE(labelText(&window, qPrintable(name)), text);
        QCOMPARE(window.objectName(), QStringLiteral("StatWidget"));
        QCOMPARE(window.windowTitle(), QStringLiteral("StatWidget"));
    }

    void headingsAreBoldAndSeparatorsExist()
    {
        StatWidget window(QVariantList {QPoint(10, 10)}, nullptr);
        window.ensurePolished();
        const QList<QLabel *> labels = window.findChildren<QLabel *>();
        for (QLabel *label : labels)
            label->ensurePolished();
        QVERIFY(child<QLabel>(&window, "speedTitleLabel")->font().bold());
        QVERIFY(child<QLabel>(&window, "trafficTitleLabel")->font().bold());
        QVERIFY(!child<QLabel>(&window, "speedInTitleLabel")->font().bold());
        QVERIFY(child<QLabel>(&window, "logoLabel"));
        QVERIFY(child<QPushButton>(&window, "closeButton"));
        for (const char *line : {"line1", "line2", "line3", "line4"})
            QVERIFY2(child<QFrame>(&window, line), line);
    }

    void windowIsAFramelessToolOnTopThatDeletesItself()
    {
        StatWidget window(QVariantList {QPoint(10, 10)}, nullptr);
        const Qt::WindowFlags flags = window.windowFlags();
        QVERIFY(flags.testFlag(Qt::Tool));
        QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(flags.testFlag(Qt::FramelessWindowHint));
        QVERIFY(window.testAttribute(Qt::WA_DeleteOnClose));
        QCOMPARE(window.windowOpacity(), 0.0);
        // The placement rule assumes this size.
        QCOMPARE(window.size(), QSize(250, 200));
        const QList<QLabel *> labels = window.findChildren<QLabel *>();
        QCOMPARE(labels.size(), 13);
        for (QLabel *label : labels)
            QVERIFY2(label->testAttribute(Qt::WA_TransparentForMouseEvents),
                     qPrintable(label->objectName()));
        QVERIFY(!child<QPushButton>(&window, "closeButton")
                     ->testAttribute(Qt::WA_TransparentForMouseEvents));
    }

    void opensAtTheGivenPositionAndFadesIn()
    {
        StatWidget *window = openAt(QPoint(321, 123));
        QVERIFY(window);
        QCOMPARE(window->pos(), QPoint(321, 123));
        QTRY_COMPARE_WITH_TIMEOUT(window->windowOpacity(), 1.0, 5000);
    }

    void showsTheTextsItIsGiven()
    {
        StatWidget window(QVariantList {QPoint(10, 10)}, nullptr);
        window.dataTimeChanged(QStringLiteral("1 h 2 m 5 s"));
        window.dataSpeedChanged(QStringLiteral("1.5 Mb/s"), QStringLiteral("800 b/s"));
        window.dataTrafficChanged(QStringLiteral("2.0 MB"), QStringLiteral("1023 B"));
        QCOMPARE(labelText(&window, "timeLabel"), QStringLiteral("1 h 2 m 5 s"));
        QCOMPARE(labelText(&window, "speedInLabel"), QStringLiteral("1.5 Mb/s"));
        QCOMPARE(labelText(&window, "speedOutLabel"), QStringLiteral("800 b/s"));
        QCOMPARE(labelText(&window, "trafficInLabel"), QStringLiteral("2.0 MB"));
        QCOMPARE(labelText(&window, "trafficOutLabel"), QStringLiteral("1023 B"));
    }

    void textsArriveThroughTheMainWindowsConnections()
    {
        // The main window connects by signature, as below; a renamed slot would only warn at
        // run time.
        StatSource source;
        StatWidget *window = openAt(QPoint(10, 10));
        QVERIFY(window);
        QVERIFY(QObject::connect(&source, SIGNAL(statWidgetTimeChanged(QString)), window,
                                 SLOT(dataTimeChanged(QString))));
        QVERIFY(QObject::connect(&source, SIGNAL(statWidgetTrafficChanged(QString, QString)),
                                 window, SLOT(dataTrafficChanged(QString, QString))));
        QVERIFY(QObject::connect(&source, SIGNAL(statWidgetSpeedChanged(QString, QString)), window,
                                 SLOT(dataSpeedChanged(QString, QString))));
        QVERIFY(
            QObject::connect(&source, SIGNAL(statWidgetClose()), window, SIGNAL(closeWidget())));
        QVERIFY(QObject::connect(window, SIGNAL(closed(QPoint)), &source,
                                 SLOT(statWidgetClosed(QPoint))));

        emit source.statWidgetTimeChanged(QStringLiteral("5 s"));
        emit source.statWidgetTrafficChanged(QStringLiteral("1.0 KB"), QStringLiteral("7 B"));
        emit source.statWidgetSpeedChanged(QStringLiteral("8 b/s"), QStringLiteral("0 b/s"));
        QCOMPARE(labelText(window, "timeLabel"), QStringLiteral("5 s"));
        QCOMPARE(labelText(window, "trafficInLabel"), QStringLiteral("1.0 KB"));
        QCOMPARE(labelText(window, "trafficOutLabel"), QStringLiteral("7 B"));
        QCOMPARE(labelText(window, "speedInLabel"), QStringLiteral("8 b/s"));
        QCOMPARE(labelText(window, "speedOutLabel"), QStringLiteral("0 b/s"));

        QSignalSpy reported(&source, SIGNAL(reported()));
        emit source.statWidgetClose();
        QVERIFY(reported.wait(5000));
        QCOMPARE(source.lastPosition, QPoint(10, 10));
        QVERIFY(m_window.isNull());
    }

    void draggingFromAnyLabelMovesTheWindow_data()
    {
        QTest::addColumn<QString>("grip");
        QTest::newRow("time value") << "timeLabel";
        QTest::newRow("speed heading") << "speedTitleLabel";
        QTest::newRow("traffic out title") << "trafficOutTitleLabel";
        QTest::newRow("logo") << "logoLabel";
    }
    void draggingFromAnyLabelMovesTheWindow()
    {
        QFETCH(QString, grip);
        StatWidget *window = openAt(QPoint(200, 150));
        QVERIFY(window);
        QLabel *label = child<QLabel>(window, qPrintable(grip));
        QVERIFY(label);
        Mouse mouse(window);

        mouse.press(label->mapTo(window, label->rect().center()));
        mouse.moveBy(QPoint(40, 25));
        QCOMPARE(window->pos(), QPoint(240, 175));
        mouse.moveBy(QPoint(-15, 5));
        QCOMPARE(window->pos(), QPoint(225, 180));
        mouse.release();

        // Moving without a button no longer drags.
        mouse.moveBy(QPoint(60, 60));
        QCOMPARE(window->pos(), QPoint(225, 180));
    }

    void pressOnASeparatorAlsoDrags()
    {
        StatWidget *window = openAt(QPoint(200, 150));
        QVERIFY(window);
        QFrame *line = child<QFrame>(window, "line2");
        QVERIFY(line);
        Mouse mouse(window);
        mouse.press(line->mapTo(window, line->rect().center()));
        mouse.moveBy(QPoint(-100, -100));
        mouse.release();
        QCOMPARE(window->pos(), QPoint(100, 50));
    }

    void closeButtonClosesWithoutDraggingAndReportsThePosition()
    {
        StatWidget *window = openAt(QPoint(200, 150));
        QVERIFY(window);
        QSignalSpy closed(window, SIGNAL(closed(QPoint)));
        Mouse mouse(window);

        // Drag somewhere first, from the window's own background.
        mouse.press(QPoint(3, window->height() - 3));
        mouse.moveBy(QPoint(30, -20));
        mouse.release();
        QCOMPARE(window->pos(), QPoint(230, 130));

        QPushButton *button = child<QPushButton>(window, "closeButton");
        mouse.press(button->mapTo(window, QPoint(button->width() / 2, button->height() / 2)));
        mouse.moveBy(QPoint(1, 1));
        QCOMPARE(window->pos(), QPoint(230, 130));
        QCOMPARE(closed.count(), 0);
        mouse.releaseFromEventLoop();

        QVERIFY(closed.wait(5000));
        QCOMPARE(closed.count(), 1);
        QCOMPARE(closed.at(0).at(0).toPoint(), QPoint(230, 130));
        QVERIFY(m_window.isNull());
    }

    void closeRequestClosesAndReportsThePosition()
    {
        StatWidget *window = openAt(QPoint(64, 48));
        QVERIFY(window);
        QSignalSpy closed(window, SIGNAL(closed(QPoint)));
        emit window->closeWidget();
        QVERIFY(closed.wait(5000));
        QCOMPARE(closed.count(), 1);
        QCOMPARE(closed.at(0).at(0).toPoint(), QPoint(64, 48));
        QVERIFY(m_window.isNull());
    }

    void closingTheWindowReportsThePositionOnce()
    {
        StatWidget *window = openAt(QPoint(500, 400));
        QVERIFY(window);
        QSignalSpy closed(window, SIGNAL(closed(QPoint)));
        QVERIFY(window->close());
        QVERIFY(closed.wait(5000));
        QCOMPARE(closed.count(), 1);
        QCOMPARE(closed.at(0).at(0).toPoint(), QPoint(500, 400));
    }
};

KESTRUNE_TEST_MAIN(TestStatWidget)
#include "tst_statwidget.moc"
