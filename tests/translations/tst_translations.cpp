// The embedded catalogues are what a user of each language sees: every text must be there,
// translated, with the placeholders, markup and line breaks the program fills in and renders
// exactly as in the English text; otherwise a dialog shows "%1" or loses a link.

#include "support/testmain.h"
#include "ui/formattimeleft.h"
#include "ui_mainwindow.h"

#include <algorithm>

#include <QFontDatabase>
#include <QTranslator>

namespace {

// What a translation must keep from its source: placeholders, markup (an HTML element the
// texts use; "<Not connected>" and "<not selected>" are texts) and line breaks.
QStringList shape(const QString &text)
{
    static const QRegularExpression kept(QStringLiteral(
        "%\\d+|\\n|</?(?:a|b|i|u|br|p|span|font|html|head|body|style|meta|qt)(?:\\s[^<>]*)?/?>"));
    QStringList found;
    for (auto it = kept.globalMatch(text); it.hasNext();)
        found << it.next().captured();
    found.sort();
    return found;
}

// The forms of a translation: one, or one per plural of a text declined by count ("%n").
QStringList forms(const QString &translation)
{
    static const QRegularExpression form(QStringLiteral("(?s)<numerusform>(.*?)</numerusform>"));
    QStringList found;
    for (auto it = form.globalMatch(translation); it.hasNext();)
        found << it.next().captured(1);
    return found.isEmpty() ? QStringList {translation} : found;
}

} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT

    QTranslator m_translator;

    void install(const QString &code)
    {
        QVERIFY(m_translator.load(":/loc/loc/loc_" + code));
        QVERIFY(QCoreApplication::installTranslator(&m_translator));
    }

    void languages(bool withEnglish)
    {
        QTest::addColumn<QString>("code");
        for (const char *code : {"en", "ru", "cn", "es", "ua"})
            if (withEnglish || QLatin1String(code) != "en")
                QTest::newRow(code) << code;
    }

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void cleanup()
    {
        QCoreApplication::removeTranslator(&m_translator);
        KESTRUNE_VERIFY_NO_QT_WARNINGS();
    }

    // Every text is translated, finished and keeps the shape of its source.
    void everyTextIsTranslatedAndKeepsItsShape_data() { languages(false); }
    void everyTextIsTranslatedAndKeepsItsShape()
    {
        QFETCH(QString, code);
        QFile source(QStringLiteral(KESTRUNE_LOC_SOURCE_DIR "/loc_%1.ts").arg(code));
        QVERIFY(source.open(QIODevice::ReadOnly));
        const QString ts
            = QString::fromUtf8(source.readAll()).replace("&lt;", "<").replace("&gt;", ">");
        static const QRegularExpression message(
            R"((?s)<source>(.*?)</source>.*?<translation( type="\w+")?>(.*?)</translation>)");
        QStringList faults;
        for (auto it = message.globalMatch(ts); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            // "unfinished" stays English; "vanished" and "obsolete" are no longer looked up.
            const QStringList translated = forms(m.captured(3));
            const bool keepsShape
                = std::all_of(translated.cbegin(), translated.cend(), [&](const QString &form) {
                      return !form.isEmpty() && shape(form) == shape(m.captured(1));
                  });
            if (!m.captured(2).isEmpty() || !keepsShape)
                faults << m.captured(0).simplified();
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
        QVERIFY(ts.count("<source>") > 100);
    }

    // The catalogue of each language is embedded under its code: a swapped one shows here.
    void remainingTimeIsDeclinedByCount_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("expected");
        const int day = 86400 + 3600;
        QTest::newRow("ru 1 day") << "ru" << day << QStringLiteral("остался 1 день");
        QTest::newRow("ru 3 days") << "ru" << 3 * day << QStringLiteral("осталось 3 дня");
        QTest::newRow("ru 12 days") << "ru" << 12 * day << QStringLiteral("осталось 12 дней");
        QTest::newRow("ru 21 days") << "ru" << 21 * day << QStringLiteral("остался 21 день");
        QTest::newRow("ua 1 hour") << "ua" << 3605 << QStringLiteral("залишилася 1 година");
        QTest::newRow("es 2 hours") << "es" << 7205 << QStringLiteral("quedan 2 horas");
        QTest::newRow("cn 2 minutes") << "cn" << 125 << QStringLiteral("剩余 2 分钟 5 秒");
    }
    void remainingTimeIsDeclinedByCount()
    {
        QFETCH(QString, code);
        const int language = QStringList {"", "ru", "en", "cn", "es", "ua"}.indexOf(code);
        QFETCH(int, seconds);
        QFETCH(QString, expected);
        install(code);
        QCOMPARE(formatTimeLeft(seconds, qint16(language), true, 0), expected);
    }

    // The window as it sets itself up: its form, the application font at 11 pixels, its
    // style sheet and its fixed size of 300 by 470 pixels. Buttons and labels must not need
    // more width than they have; a wrapping label takes more lines instead.
    void mainWindowTextsFitTheWindow_data() { languages(true); }
    void mainWindowTextsFitTheWindow()
    {
        QFETCH(QString, code);
        if (code != "en")
            install(code);
        QMainWindow window;
        Ui::MainWindow ui;
        ui.setupUi(&window);
        const int font = QFontDatabase::addApplicationFont(":/font/fonts/font.ttf");
        QFont windowFont(QFontDatabase::applicationFontFamilies(font).value(0));
        windowFont.setPixelSize(11);
        window.setFont(windowFont);
        QFile style(":/styles/styles/mainwindow.qss");
        QVERIFY(style.open(QIODevice::ReadOnly));
        window.setStyleSheet(QString::fromUtf8(style.readAll()));
        window.setFixedSize(300, 470);
        window.show();
        QStringList clipped;
        for (QWidget *widget : window.findChildren<QWidget *>()) {
            const QString text = widget->property("wordWrap").toBool()
                ? QString()
                : widget->property("text").toString();
            if (text.isEmpty())
                continue;
            // Shown by making each stacked widget above it show the page that holds it.
            for (QWidget *w = widget; w->parentWidget(); w = w->parentWidget()) {
                if (auto *stack = qobject_cast<QStackedWidget *>(w->parentWidget()))
                    stack->setCurrentWidget(w);
            }
            QCoreApplication::processEvents();
            if (widget->isVisible() && widget->sizeHint().width() > widget->width())
                clipped << widget->objectName() + ": " + text;
        }
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join('\n')));
    }
};

KESTRUNE_TEST_MAIN(TestTranslations)
#include "tst_translations.moc"
