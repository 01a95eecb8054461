#include "support/testmain.h"
#include "ui/messagedialogs.h"

#include <QCheckBox>
#include <QMessageBox>
#include <QPointer>

class TestMessageDialogs : public QObject
{
    Q_OBJECT

    QPointer<QMessageBox> m_box;
    QString m_text;

    // Answers the box the way a user would, without a modal loop: ticks its check box if
    // asked ("No, ticked"), presses the button with the given text and hands back what
    // exec() would have. What the user read is kept, check box included.
    void answerWith(const QString &answer)
    {
        setDialogRunner([this, answer](QMessageBox *box) {
            m_box = box;
            m_text = box->text();
            if (QCheckBox *check = box->checkBox()) {
                m_text += " [" + check->text() + "]";
                check->setChecked(answer.endsWith(", ticked"));
            }
            for (QAbstractButton *b : box->buttons())
                if (b->text().remove(QLatin1Char('&')) == answer.section(',', 0, 0))
                    b->click();
            return box->result();
        });
    }

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void init() { m_text = "<not shown>"; }
    void cleanup()
    {
        setDialogRunner(nullptr);
        setDialogSiteBase(QStringLiteral("https://kestrune.net"));
        // Every box is released once control is back in the event loop.
        QTRY_VERIFY_WITH_TIMEOUT(m_box.isNull(), 5000);
        KESTRUNE_VERIFY_NO_QT_WARNINGS();
    }

    // args: the dialog's arguments; for a confirmation, "don't show again" passes that flag.
    void eachDialogShowsItsTextAndAnswers_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("press");
        QTest::addColumn<QString>("text"); // how the message ends
        QTest::addColumn<QList<bool>>("answer");
        const QList<bool> none, accepted {true}, refused {false};
        const QString ok = "OK", yes = "Yes", no = "No", unseen = "<not shown>";
        QTest::newRow("error 0 shows the caller's text")
            << "error" << 0 << QStringList {"Gone."} << ok << "code: 0<br>Gone." << none;
        QTest::newRow("error 12 names the setting")
            << "error" << 12 << QStringList {"Lock network"} << ok
            << "12<br>Unable to apply following setting:<br>Lock network" << none;
        QTest::newRow("error 15 is only the code")
            << "error" << 15 << QStringList {"x"} << ok << "Error code: 15<br>" << none;
        const QString link
            = "<br><a href=\"https://site.test/en/panel/package/buy\">Update subscription</a>";
        QTest::newRow("subscription end links to the purchase page, the name as text")
            << "info" << 1 << QStringList {"<b>x</b>", "today"} << ok
            << "\"&lt;b&gt;x&lt;/b&gt;\" will end today." + link << accepted;
        const QString unblock = "use <b>Emergency unblock</b>.";
        QTest::newRow("unblock notice, OK")
            << "info" << 2 << QStringList() << ok << unblock << accepted;
        QTest::newRow("unblock notice, Emergency unblock")
            << "info" << 2 << QStringList() << "Emergency unblock" << unblock << refused;
        const QStringList dontShow {"don't show again"};
        const QString lock = "failure.<br><br>Proceed? [Don't show this message again]";
        QTest::newRow("lock warning switched off answers yes unseen")
            << "confirm" << 2 << dontShow << no << unseen << QList<bool> {true, true};
        QTest::newRow("ticking the box and pressing No stores the choice")
            << "confirm" << 2 << QStringList() << "No, ticked" << lock << QList<bool> {false, true};
        QTest::newRow("lock warning Yes")
            << "confirm" << 2 << QStringList() << yes << lock << QList<bool> {true, false};
        QTest::newRow("disconnect Yes passes the flag through")
            << "confirm" << 0 << dontShow << yes << "disconnected.<br>Proceed?"
            << QList<bool> {true, true};
        QTest::newRow("log out No")
            << "confirm" << 1 << QStringList() << no << "log out from account.<br>Proceed?"
            << QList<bool> {false, false};
    }
    void eachDialogShowsItsTextAndAnswers()
    {
        QFETCH(QString, dialog);
        QFETCH(int, kind);
        QFETCH(QStringList, args);
        QFETCH(QString, press);
        QFETCH(QString, text);
        QFETCH(QList<bool>, answer);
        setDialogSiteBase(QStringLiteral("https://site.test"));
        answerWith(press);
        QList<bool> answered;
        if (dialog == "error")
            showErrorDialog(kind, args, nullptr);
        else if (dialog == "info")
            answered << showInfoDialog(kind, args, nullptr);
        else
            answered = showConfirmDialog(kind, "Kestrune VPN", {}, !args.isEmpty(), nullptr);
        QVERIFY2(m_text.endsWith(text), qPrintable(m_text));
        QCOMPARE(answered, answer);
    }
};

KESTRUNE_TEST_MAIN(TestMessageDialogs)
#include "tst_messagedialogs.moc"
