#include "support/testmain.h"
#include "ui/statwidget.h"

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
        KESTRUNE_VERIFY_NO_QT_WARNINGS();
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
        QWindow *handle = window->windowHandle();
        const QPoint press = label->mapTo(window, label->rect().center());

        QTest::mousePress(handle, Qt::LeftButton, {}, press);
        QTest::mouseMove(handle, press + QPoint(40, 25));
        QCOMPARE(window->pos(), QPoint(240, 175));
        // The window has moved under the cursor, so the next step is measured from the press
        // point again.
        QTest::mouseMove(handle, press + QPoint(-15, 5));
        QCOMPARE(window->pos(), QPoint(225, 180));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, press + QPoint(-15, 5));

        // Moving without a button no longer drags.
        QTest::mouseMove(handle, press + QPoint(60, 60));
        QCOMPARE(window->pos(), QPoint(225, 180));
    }

    void closeButtonClosesWithoutDraggingAndReportsThePosition()
    {
        StatWidget *window = openAt(QPoint(200, 150));
        QVERIFY(window);
        QSignalSpy closed(window, SIGNAL(closed(QPoint)));
        QWindow *handle = window->windowHandle();

        // Drag somewhere first, from the window's own background.
        const QPoint grip(3, window->height() - 3);
        QTest::mousePress(handle, Qt::LeftButton, {}, grip);
        QTest::mouseMove(handle, grip + QPoint(30, -20));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, grip + QPoint(30, -20));
        QCOMPARE(window->pos(), QPoint(230, 130));

        QPushButton *button = child<QPushButton>(window, "closeButton");
        const QPoint onButton = button->mapTo(window, button->rect().center());
        QTest::mousePress(handle, Qt::LeftButton, {}, onButton);
        QTest::mouseMove(handle, onButton + QPoint(2, 2));
        QCOMPARE(window->pos(), QPoint(230, 130));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, onButton + QPoint(2, 2));

        QVERIFY(closed.wait(5000));
        QCOMPARE(closed.count(), 1);
        QCOMPARE(closed.at(0).at(0).toPoint(), QPoint(230, 130));
        QTRY_VERIFY_WITH_TIMEOUT(m_window.isNull(), 5000);
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
