// The embedded catalogues are what a user of each language sees: every text must be there,
// translated, with the placeholders, markup and line breaks the program fills in and renders
// exactly as in the English text; otherwise a dialog shows "%1" or loses a link.

#include "support/testmain.h"
#include "ui/formattimeleft.h"
#include "ui_mainwindow.h"

#include <QAbstractButton>
#include <QFile>
#include <QFontDatabase>
#include <QLabel>
#include <QMainWindow>
#include <QRegularExpression>
#include <QTranslator>
#include <QXmlStreamReader>

namespace {

const char *const kCodes[] = {"ru", "cn", "es", "ua"};

struct Message
{
    QString context;
    QString source;
    QString comment;
    bool numerus = false;
    QString type;
    QStringList forms;
};

// Reads the translation source of a language as lupdate writes it.
QVector<Message> readMessages(const QString &path, QString *error)
{
    QVector<Message> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return messages;
    }
    QXmlStreamReader xml(&file);
    QString context;
    Message current;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const QStringRef name = xml.name();
        if (name == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (name == QLatin1String("message")) {
            current = Message();
            current.context = context;
            current.numerus
                = xml.attributes().value(QLatin1String("numerus")) == QLatin1String("yes");
        } else if (name == QLatin1String("source")) {
            current.source = xml.readElementText();
        } else if (name == QLatin1String("comment")) {
            current.comment = xml.readElementText();
        } else if (name == QLatin1String("translation")) {
            current.type = xml.attributes().value(QLatin1String("type")).toString();
            if (current.numerus) {
                while (xml.readNextStartElement())
                    current.forms << xml.readElementText();
            } else {
                current.forms << xml.readElementText();
            }
            messages << current;
        }
    }
    if (xml.hasError())
        *error = xml.errorString();
    return messages;
}

QStringList placeholders(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("%\\d+"));
    QStringList found;
    auto it = re.globalMatch(text);
    while (it.hasNext())
        found << it.next().captured();
    found.sort();
    return found;
}

// The markup a label renders; "<Not connected>" is a plain text, not a tag.
QStringList tags(const QString &text)
{
    static const QRegularExpression re(
        QStringLiteral("</?(?:html|head|body|p|span|a|br|b|i|u|div|font|img|table|tr|td)"
                       "(?:\\s[^>]*)?/?>"),
        QRegularExpression::CaseInsensitiveOption);
    QStringList found;
    auto it = re.globalMatch(text);
    while (it.hasNext())
        found << it.next().captured();
    return found;
}

// Shows the widget by making each stacked widget above it show the page that holds it.
void reveal(QWidget *widget)
{
    for (QWidget *child = widget; child && child->parentWidget(); child = child->parentWidget()) {
        if (auto *stack = qobject_cast<QStackedWidget *>(child->parentWidget()))
            stack->setCurrentWidget(child);
    }
}

QString describe(const Message &m)
{
    return QStringLiteral("%1 \"%2\"%3")
        .arg(m.context, m.source.left(60),
             m.comment.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(m.comment));
}

} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void catalogueIsEmbeddedUnderItsCode_data();
    void catalogueIsEmbeddedUnderItsCode();
    void keyTextIsTranslated_data();
    void keyTextIsTranslated();
    void catalogueIsWrittenInItsLanguage_data();
    void catalogueIsWrittenInItsLanguage();
    void everyTextKeepsPlaceholdersMarkupAndLineBreaks_data();
    void everyTextKeepsPlaceholdersMarkupAndLineBreaks();
    void remainingTimeIsDeclinedByCount_data();
    void remainingTimeIsDeclinedByCount();
    void qtCatalogueIsEmbeddedUnderTheProgramCode_data();
    void qtCatalogueIsEmbeddedUnderTheProgramCode();
    void mainWindowTextsFitTheWindow_data();
    void mainWindowTextsFitTheWindow();
};

void TestTranslations::initTestCase()
{
    KestruneTest::guardQtWarnings();
}

void TestTranslations::cleanup()
{
    KESTRUNE_VERIFY_NO_QT_WARNINGS();
}

void TestTranslations::catalogueIsEmbeddedUnderItsCode_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("code");
    for (const char *code : kCodes)
        QTest::newRow(code) << QString::fromLatin1(code) << QString::fromLatin1(code);
    // A system locale name reaches the file of its language through the name fallback.
    QTest::newRow("ru_RU finds ru") << QStringLiteral("ru_RU") << QStringLiteral("ru");
    QTest::newRow("es_MX finds es") << QStringLiteral("es_MX") << QStringLiteral("es");
}

void TestTranslations::catalogueIsEmbeddedUnderItsCode()
{
    QFETCH(QString, name);
    QFETCH(QString, code);
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":/loc/loc/loc_") + name));
    QVERIFY(!translator.isEmpty());
    QCOMPARE(translator.filePath(), QStringLiteral(":/loc/loc/loc_%1.qm").arg(code));
}

void TestTranslations::keyTextIsTranslated_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("comment");
    struct Key
    {
        const char *context;
        const char *source;
        const char *comment;
    };
    // Texts of every kind of lookup: designer forms, class contexts, free functions, and
    // the texts that file-local helpers look up in the "MainWindow" and "QObject" contexts.
    const Key keys[] = {
        {"MainWindow", "SIGN IN", nullptr},
        {"MainWindow", "CONNECT", nullptr},
        {"MainWindow", "VPN connected", nullptr},
        {"MainWindow", "Error: there are no active subscribtions", nullptr},
        {"StatWidget", "Speed", nullptr},
        {"QObject", "Can't connect to server.", nullptr},
        {"Loger", "Application started", nullptr},
        {"MainWindow", "Error code: %0<br>", nullptr},
        {"MainWindow", "Don't show this message again", nullptr},
        {"MainWindow", "Server reply on %0", nullptr},
        {"MainWindow", "Unable to get authorization key", nullptr},
        {"MainWindow", "auth key for server [1]", nullptr},
        {"QObject", "%0 days", "plural ending"},
        {"QObject", "left", "hours, plural ending"},
    };
    for (const char *code : kCodes) {
        for (const Key &k : keys) {
            QTest::addRow("%s %s %s%s", code, k.context, k.source, k.comment ? k.comment : "")
                << QString::fromLatin1(code) << QString::fromLatin1(k.context)
                << QString::fromUtf8(k.source) << QString::fromLatin1(k.comment);
        }
    }
}

void TestTranslations::keyTextIsTranslated()
{
    QFETCH(QString, code);
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFETCH(QString, comment);
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":/loc/loc/loc_") + code));
    const QString text
        = translator.translate(context.toUtf8().constData(), source.toUtf8().constData(),
                               comment.isEmpty() ? nullptr : comment.toUtf8().constData());
    QVERIFY2(!text.isEmpty(), "no translation");
    QVERIFY2(text != source, qPrintable(text));
}

void TestTranslations::catalogueIsWrittenInItsLanguage_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("mustMatch");
    QTest::addColumn<QString>("mustNotMatch");
    // Russian and Ukrainian share the alphabet except for a few letters of each.
    QTest::newRow("ru") << "ru" << QStringLiteral("[а-яё]") << QStringLiteral("[іїєґ]");
    QTest::newRow("ua") << "ua" << QStringLiteral("[іїєґ]") << QStringLiteral("[ыэъё]");
    QTest::newRow("cn") << "cn" << QStringLiteral("[\\x{4e00}-\\x{9fff}]")
                        << QStringLiteral("[а-я]");
    QTest::newRow("es") << "es" << QStringLiteral("[áéíóúñ¿]")
                        << QStringLiteral("[а-я\\x{4e00}-\\x{9fff}]");
}

void TestTranslations::catalogueIsWrittenInItsLanguage()
{
    QFETCH(QString, code);
    QFETCH(QString, mustMatch);
    QFETCH(QString, mustNotMatch);
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":/loc/loc/loc_") + code));
    QStringList texts;
    for (const char *source :
         {"VPN connected", "Unable to get list of servers for double subscription.",
          "Program will log out from account.<br>Proceed?", "Select second server:"}) {
        texts << translator.translate("MainWindow", source);
    }
    const QString joined = texts.join(QLatin1Char('\n')).toLower();
    QVERIFY2(joined.contains(QRegularExpression(mustMatch)), qPrintable(joined));
    QVERIFY2(!joined.contains(QRegularExpression(mustNotMatch)), qPrintable(joined));
}

void TestTranslations::everyTextKeepsPlaceholdersMarkupAndLineBreaks_data()
{
    QTest::addColumn<QString>("code");
    for (const char *code : kCodes)
        QTest::newRow(code) << QString::fromLatin1(code);
}

void TestTranslations::everyTextKeepsPlaceholdersMarkupAndLineBreaks()
{
    QFETCH(QString, code);
    QString error;
    const QVector<Message> messages
        = readMessages(QStringLiteral(KESTRUNE_LOC_SOURCE_DIR "/loc_%1.ts").arg(code), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(messages.size() > 100);

    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":/loc/loc/loc_") + code));

    QStringList faults;
    for (const Message &m : messages) {
        if (!m.type.isEmpty()) {
            // "unfinished" is left in English; "vanished"/"obsolete" means the program no
            // longer finds the text in the context the translation was made for.
            faults << QStringLiteral("%1: marked %2").arg(describe(m), m.type);
            continue;
        }
        const QByteArray context = m.context.toUtf8();
        const QByteArray source = m.source.toUtf8();
        const QByteArray comment = m.comment.toUtf8();
        const char *disambiguation = m.comment.isEmpty() ? nullptr : comment.constData();
        QStringList translations;
        if (m.numerus) {
            // Counts that reach every plural form Russian and Ukrainian have.
            for (int n : {1, 2, 5, 11, 21, 22, 25})
                translations << translator.translate(context, source, disambiguation, n);
            for (const QString &form : m.forms) {
                if (form.isEmpty())
                    faults << QStringLiteral("%1: empty plural form").arg(describe(m));
            }
        } else {
            translations << translator.translate(context, source, disambiguation);
        }
        for (const QString &text : qAsConst(translations)) {
            if (text.isEmpty()) {
                faults << QStringLiteral("%1: not in the catalogue").arg(describe(m));
                continue;
            }
            if (placeholders(text) != placeholders(m.source))
                faults << QStringLiteral("%1: placeholders %2").arg(describe(m), text);
            if (tags(text) != tags(m.source))
                faults << QStringLiteral("%1: markup %2").arg(describe(m), text);
            if (text.count(QLatin1Char('\n')) != m.source.count(QLatin1Char('\n')))
                faults << QStringLiteral("%1: line breaks %2").arg(describe(m), text);
        }
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

void TestTranslations::remainingTimeIsDeclinedByCount_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("language");
    QTest::addColumn<qint64>("remaining");
    QTest::addColumn<QString>("expected");
    const qint64 day = 86400;
    const qint64 hour = 3600;
    // Language setting values: 1 Russian, 3 Chinese, 4 Spanish, 5 Ukrainian.
    QTest::newRow("ru 1 day") << "ru" << 1 << day + hour << QStringLiteral("остался 1 день");
    QTest::newRow("ru 3 days") << "ru" << 1 << 3 * day + hour << QStringLiteral("осталось 3 дня");
    QTest::newRow("ru 5 days") << "ru" << 1 << 5 * day + hour << QStringLiteral("осталось 5 дней");
    QTest::newRow("ru 12 days") << "ru" << 1 << 12 * day + hour
                                << QStringLiteral("осталось 12 дней");
    QTest::newRow("ru 21 days") << "ru" << 1 << 21 * day + hour
                                << QStringLiteral("остался 21 день");
    QTest::newRow("ru 22 hours") << "ru" << 1 << 22 * hour + 5
                                 << QStringLiteral("осталось 22 часа");
    QTest::newRow("ru 1 minute") << "ru" << 1 << qint64(61) << QStringLiteral("осталась 1 мин 1 с");
    QTest::newRow("ua 1 day") << "ua" << 5 << day + hour << QStringLiteral("залишився 1 день");
    QTest::newRow("ua 2 days") << "ua" << 5 << 2 * day + hour << QStringLiteral("залишилося 2 дні");
    QTest::newRow("ua 7 days") << "ua" << 5 << 7 * day + hour
                               << QStringLiteral("залишилося 7 днів");
    QTest::newRow("ua 1 hour") << "ua" << 5 << hour + 5 << QStringLiteral("залишилася 1 година");
    QTest::newRow("ua 3 hours") << "ua" << 5 << 3 * hour + 5
                                << QStringLiteral("залишилося 3 години");
    QTest::newRow("es 1 day") << "es" << 4 << day + hour << QStringLiteral("queda 1 día");
    QTest::newRow("es 5 days") << "es" << 4 << 5 * day + hour << QStringLiteral("quedan 5 días");
    QTest::newRow("es 2 hours") << "es" << 4 << 2 * hour + 5 << QStringLiteral("quedan 2 horas");
    QTest::newRow("cn 5 days") << "cn" << 3 << 5 * day + hour << QStringLiteral("剩余 5 天");
    QTest::newRow("cn 2 minutes") << "cn" << 3 << qint64(125) << QStringLiteral("剩余 2 分钟 5 秒");
}

void TestTranslations::remainingTimeIsDeclinedByCount()
{
    QFETCH(QString, code);
    QFETCH(int, language);
    QFETCH(qint64, remaining);
    QFETCH(QString, expected);
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":/loc/loc/loc_") + code));
    QVERIFY(QCoreApplication::installTranslator(&translator));
    const qint64 now = 1700000000;
    const QString text = formatTimeLeft(now + remaining, qint16(language), true, now);
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(text, expected);
}

void TestTranslations::qtCatalogueIsEmbeddedUnderTheProgramCode_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("cancel");
    QTest::newRow("ru") << "ru" << QStringLiteral("Отмена");
    QTest::newRow("cn") << "cn" << QStringLiteral("取消");
    QTest::newRow("es") << "es" << QStringLiteral("Cancelar");
    QTest::newRow("ua") << "ua" << QStringLiteral("Скасувати");
}

void TestTranslations::qtCatalogueIsEmbeddedUnderTheProgramCode()
{
    QFETCH(QString, code);
    QFETCH(QString, cancel);
    // Qt's own buttons (the message boxes' "Cancel", "Yes", "No") come from qtbase, copied
    // from Qt's installation under the program's language code.
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":/loc/loc/qt/qtbase_") + code));
    QCOMPARE(translator.translate("QPlatformTheme", "Cancel"), cancel);
}

void TestTranslations::mainWindowTextsFitTheWindow_data()
{
    QTest::addColumn<QString>("code");
    QTest::newRow("en") << QString();
    for (const char *code : kCodes)
        QTest::newRow(code) << QString::fromLatin1(code);
}

void TestTranslations::mainWindowTextsFitTheWindow()
{
    QFETCH(QString, code);
    QTranslator translator;
    if (!code.isEmpty()) {
        QVERIFY(translator.load(QStringLiteral(":/loc/loc/loc_") + code));
        QVERIFY(QCoreApplication::installTranslator(&translator));
    }
    QStringList clipped;
    {
        // The window as it sets itself up: its form, the application font at 11 pixels,
        // its style sheet and its fixed size of 300 by 470 pixels.
        QMainWindow window;
        Ui::MainWindow ui;
        ui.setupUi(&window);
        const int fontId
            = QFontDatabase::addApplicationFont(QStringLiteral(":/font/fonts/font.ttf"));
        QVERIFY(fontId >= 0);
        QFont font(QFontDatabase::applicationFontFamilies(fontId).value(0));
        font.setPixelSize(11);
        window.setFont(font);
        QFile style(QStringLiteral(":/styles/styles/mainwindow.qss"));
        QVERIFY(style.open(QIODevice::ReadOnly));
        window.setStyleSheet(QString::fromUtf8(style.readAll()));
        window.setFixedSize(300, 470);
        window.show();

        const QList<QWidget *> widgets = window.findChildren<QWidget *>();
        for (QWidget *widget : widgets) {
            QString text;
            if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
                text = button->text();
            } else if (auto *label = qobject_cast<QLabel *>(widget)) {
                // A wrapping label takes more lines instead of more width.
                if (!label->wordWrap())
                    text = label->text();
            }
            if (text.isEmpty())
                continue;
            reveal(widget);
            QCoreApplication::processEvents();
            if (!widget->isVisible())
                continue;
            if (widget->sizeHint().width() > widget->width()) {
                clipped << QStringLiteral("%1 needs %2 pixels, has %3: %4")
                               .arg(widget->objectName())
                               .arg(widget->sizeHint().width())
                               .arg(widget->width())
                               .arg(text.left(60));
            }
        }
    }
    if (!code.isEmpty())
        QCoreApplication::removeTranslator(&translator);
    QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QLatin1Char('\n'))));
}

KESTRUNE_TEST_MAIN(TestTranslations)
#include "tst_translations.moc"
