// What the forms, style sheets and sources name must exist: a missing or misspelt picture
// shows as an empty label or button, a misspelt object name as a style or slot that silently
// applies to nothing. Both are read from the product's own files, never typed here.

#include "support/testmain.h"

#include <QDirIterator>
#include <QIcon>

namespace {

QStringList captures(const QString &text, const QString &pattern)
{
    QStringList found;
    for (auto it = QRegularExpression(pattern).globalMatch(text); it.hasNext();)
        found << it.next().captured(1);
    return found;
}

} // namespace

class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void cleanup() { KESTRUNE_VERIFY_NO_QT_WARNINGS(); }

    void everyNameAndPathInTheFormsStylesAndSourcesExists()
    {
        QMap<QString, QString> text; // by file suffix
        for (const char *folder :
             {"app", "window", "core", "api", "engine", "system", "ui", "resources"})
            for (QDirIterator it(QDir(KESTRUNE_SOURCE_DIR).filePath(folder),
                                 {"*.ui", "*.qss", "*.cpp", "*.h"}, QDir::Files,
                                 QDirIterator::Subdirectories);
                 it.hasNext();) {
                QFile file(it.next());
                if (file.open(QIODevice::ReadOnly))
                    text[QFileInfo(file).suffix()] += file.readAll();
            }
        const QString forms = text["ui"], styles = text["qss"], sources = text["cpp"] + text["h"];
        // A style sheet's selectors are what stays without its comments and declarations.
        QString selectors = styles
            + captures(forms, "(?s)name=\"styleSheet\">\\s*<string[^>]*>(.*?)</string>").join('\n');
        selectors.remove(QRegularExpression("(?s)/\\*.*?\\*/|\\{[^}]*\\}"));
        // Widgets are named in the forms, and a few made in code by setObjectName.
        const QStringList defined
            = captures(forms, "<(?:widget|layout|action|spacer)\\b[^>]*\\bname=\"(\\w+)\"")
            + captures(sources, "setObjectName\\((?:QStringLiteral\\()?\"(\\w+)\"");
        const QStringList selected = captures(selectors, "#(\\w+)")
            + captures(sources, "findChild<[^>]*>\\((?:QStringLiteral\\()?\"(\\w+)\"")
            + captures(sources, "\\bon_([A-Za-z0-9]+)_\\w+\\(")
            + captures(sources,
                       "\"([a-z]\\w*(?:Label|Button|Widget|LineEdit|ComboBox|CheckBox))\"");
        QSet<QString> missing(selected.cbegin(), selected.cend());
        missing -= QSet<QString>(defined.cbegin(), defined.cend());
        // A path the program completes at run time ("…/flags/", "…/loc_", "…qt_%0") must name a
        // folder and the start of a file name there.
        const QStringList paths = captures(forms + styles + sources, "(?<=[\"(>])(:/[\\w/.@%-]*)");
        for (const QString &path : paths) {
            const QFileInfo stem(path.section('%', 0, 0));
            if (!stem.exists() && QDir(stem.path()).entryList({stem.fileName() + '*'}).isEmpty())
                missing << path;
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.values().join(", ")));
        QVERIFY(defined.size() > 100 && selected.size() > 100 && paths.size() > 40);
    }

    // Pictures drawn for the interface have a twice as large "@2x" twin with alpha, which Qt
    // takes on a high-DPI screen; flags are square, 48 pixels, named by the lower-case country
    // code the server lists use; icon files hold every size a tray or a window asks for.
    void pictureHasItsSizes_data()
    {
        QTest::addColumn<QString>("path");
        for (QDirIterator it(":/", QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
            if (const QString path = it.next();
                (path.endsWith(".png") || path.endsWith(".ico")) && !path.contains('@'))
                QTest::newRow(qPrintable(path)) << path;
    }
    void pictureHasItsSizes()
    {
        QFETCH(QString, path);
        const QImage picture(path);
        if (path.startsWith(":/flag/")) {
            QCOMPARE(picture.size(), QSize(48, 48));
            QVERIFY(QFileInfo(path).fileName().contains(QRegularExpression("^[a-z]{2}\\.png$")));
        } else if (path.endsWith(".ico")) {
            // The tray and the window take the icon through QIcon, which must see every frame.
            for (int side : {16, 24, 32, 48, 64})
                QVERIFY(QIcon(path).availableSizes().contains(QSize(side, side)));
        } else if (path.contains("/interface/")) {
            QCOMPARE(QImage(QString(path).replace(".png", "@2x.png")).size(), picture.size() * 2);
            QVERIFY(picture.hasAlphaChannel());
        }
        QVERIFY(!picture.isNull());
    }
};

KESTRUNE_TEST_MAIN(TestResources)
#include "tst_resources.moc"
