#include "support/testmain.h"
#include "ui/messagedialogs.h"

#include <memory>

#include <QCheckBox>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace {

const QString Title = QStringLiteral("Kestrune VPN");

// Answers a box the way a user would, without a modal loop: presses the button and hands
// back what exec() would have returned.
int press(QMessageBox *box, QAbstractButton *button)
{
    button->click();
    return box->result();
}

QAbstractButton *buttonByText(QMessageBox *box, const QString &text)
{
    const QList<QAbstractButton *> buttons = box->buttons();
    for (QAbstractButton *button : buttons) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

} // namespace

class TestMessageDialogs : public QObject
{
    Q_OBJECT

    QList<QPointer<QMessageBox>> m_shown;
    int m_runs = 0;

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }

    void init()
    {
        m_runs = 0;
        m_shown.clear();
        setDialogRunner([this](QMessageBox *) {
            ++m_runs;
            return int(QMessageBox::Ok);
        });
    }

    void cleanup()
    {
        setDialogRunner(nullptr);
        setDialogSiteBase(QString::fromUtf8("https://kestrune.net"));
        KESTRUNE_VERIFY_NO_QT_WARNINGS();
    }

    void errorTextOfEachCode_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("text");
        const QString line = QStringLiteral("Error code: %1<br>");
        QTest::newRow("0 shows the caller's text")
            << 0 << QStringList {"Server not reachable."} << line.arg(0) + "Server not reachable.";
        const QStringList fixed = {
            "Unable to get list of subscriptions.",
            "Unable to get list of servers.",
            "Unable to get list of servers for double subscription.",
            "Unable to get Shadowsocks config file.",
            "Unable to get OpenVPN config file.",
            "Unable to get your IP before VPN connection.",
            "Unable to get your new IP througth VPN connection.",
            "Log is switched off or file does not exists.",
        };
        for (int code = 1; code <= 8; ++code)
            QTest::newRow(qPrintable(QStringLiteral("%1 fixed text").arg(code)))
                << code << QStringList {"ignored"} << line.arg(code) + fixed.at(code - 1);
        QTest::newRow("9 shows the caller's text")
            << 9 << QStringList {"Installed OpenVPN version (2.6.3) incompatible with app."}
            << line.arg(9) + "Installed OpenVPN version (2.6.3) incompatible with app.";
        QTest::newRow("10 fixed text")
            << 10 << QStringList {} << line.arg(10) + "Unsupported subscription type.";
        QTest::newRow("11 fixed text")
            << 11 << QStringList {}
            << line.arg(11) + "IP before and after VPN connection establishment are equal.";
        QTest::newRow("12 puts the setting on the next line")
            << 12 << QStringList {"Lock network without VPN"}
            << line.arg(12) + "Unable to apply following setting:<br>Lock network without VPN";
        QTest::newRow("13 second instance")
            << 13 << QStringList {} << line.arg(13) + "Application is running already.";
        QTest::newRow("14 tool check")
            << 14 << QStringList {}
            << line.arg(14) + "Additional tool install/check error. Unable to proceed.";
        QTest::newRow("15 shows only the code line") << 15 << QStringList {"x"} << line.arg(15);
        QTest::newRow("20 shows only the code line") << 20 << QStringList {} << line.arg(20);
        QTest::newRow("-1 shows only the code line") << -1 << QStringList {} << line.arg(-1);
        QTest::newRow("0 without text shows the code line") << 0 << QStringList {} << line.arg(0);
    }
    void errorTextOfEachCode()
    {
        QFETCH(int, code);
        QFETCH(QStringList, args);
        QFETCH(QString, text);
        std::unique_ptr<QMessageBox> box(buildErrorDialog(code, args, nullptr));
        QCOMPARE(box->text(), text);
        QCOMPARE(box->icon(), QMessageBox::Critical);
        QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(box->windowTitle(), Title);
        QVERIFY(!box->windowIcon().isNull() || !QFile::exists(":/images/icons/ksvpn.ico"));
        QCOMPARE(box->styleSheet(), QStringLiteral("QLabel { font-size: 13px; }"));
        QVERIFY(box->testAttribute(Qt::WA_DeleteOnClose));
    }

    void errorDialogTakesTheGivenParent()
    {
        QWidget window;
        std::unique_ptr<QMessageBox> withParent(buildErrorDialog(1, {}, &window));
        QCOMPARE(withParent->parentWidget(), &window);
        withParent.release(); // owned by window
        std::unique_ptr<QMessageBox> without(buildErrorDialog(13, {}, nullptr));
        QCOMPARE(without->parentWidget(), nullptr);
    }

    void showErrorDialogRunsTheBoxOnceAndReleasesIt()
    {
        QPointer<QMessageBox> seen;
        setDialogRunner([&](QMessageBox *box) {
            seen = box;
            ++m_runs;
            return press(box, box->button(QMessageBox::Ok));
        });
        showErrorDialog(13, {}, nullptr);
        QCOMPARE(m_runs, 1);
        QVERIFY(seen.isNull());
    }

    void infoTextOfEachKind_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("unblockButton");
        QTest::newRow("0 language")
            << 0 << QStringList {} << "New language will be applied after restart." << false;
        QTest::newRow("1 subscription end links to the purchase page")
            << 1 << QStringList {"Premium", "in 3 days"}
            << "Subscription \"Premium\" will end in 3 days.<br><a "
               "href=\"https://site.test/en/panel/package/buy\">Update subscription</a>"
            << false;
        QTest::newRow("1 a name from the service is shown as text")
            << 1 << QStringList {"<b>x</b>", "today"}
            << "Subscription \"&lt;b&gt;x&lt;/b&gt;\" will end today.<br><a "
               "href=\"https://site.test/en/panel/package/buy\">Update subscription</a>"
            << false;
        QTest::newRow("2 unblock notice offers the emergency unblock")
            << 2 << QStringList {}
            << "Following setting applied:<br>Lock network without VPN: unblocking<br><br>Check "
               "your network connection. If you experiencing issues, use <b>Emergency "
               "unblock</b>."
            << true;
        QTest::newRow("7 unknown kind is empty") << 7 << QStringList {} << QString() << false;
    }
    void infoTextOfEachKind()
    {
        QFETCH(int, kind);
        QFETCH(QStringList, args);
        QFETCH(QString, text);
        QFETCH(bool, unblockButton);
        setDialogSiteBase(QStringLiteral("https://site.test"));
        std::unique_ptr<QMessageBox> box(buildInfoDialog(kind, args, nullptr));
        QCOMPARE(box->text(), text);
        QCOMPARE(box->icon(), QMessageBox::Information);
        QCOMPARE(box->windowTitle(), Title);
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::Ok));
        QVERIFY(box->testAttribute(Qt::WA_DeleteOnClose));
        QAbstractButton *unblock = buttonByText(box.get(), QStringLiteral("Emergency unblock"));
        QCOMPARE(unblock != nullptr, unblockButton);
        if (unblock)
            QCOMPARE(box->buttonRole(unblock), QMessageBox::ResetRole);
        QCOMPARE(box->buttons().size(), unblockButton ? 2 : 1);
    }

    void infoResultFollowsThePressedButton_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("result");
        QTest::newRow("OK is true") << QStringLiteral("OK") << true;
        QTest::newRow("Emergency unblock is false") << QStringLiteral("Emergency unblock") << false;
    }
    void infoResultFollowsThePressedButton()
    {
        QFETCH(QString, button);
        QFETCH(bool, result);
        QPointer<QMessageBox> seen;
        setDialogRunner([&](QMessageBox *box) {
            seen = box;
            QAbstractButton *target = button == QLatin1String("OK") ? box->button(QMessageBox::Ok)
                                                                    : buttonByText(box, button);
            return target ? press(box, target) : -100;
        });
        QCOMPARE(showInfoDialog(2, {}, nullptr), result);
        QVERIFY(seen.isNull());
    }

    void confirmTextOfEachKind_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("details");
        QTest::addColumn<bool>("checkBox");
        QTest::newRow("0 disconnect")
            << 0 << "Active VPN connection will be disconnected.<br>Proceed?" << QString() << false;
        QTest::newRow("1 log out")
            << 1 << "Program will log out from account.<br>Proceed?" << QString() << false;
        QTest::newRow("2 network lock warns with details and a check box")
            << 2
            << "Block setting configures system components by special way.<br><br>Please do not "
               "change or remove additional rules and/or options created by program in system "
               "components.<br><br>Configuration interruption may lead to unblocking "
               "failure.<br><br>Proceed?"
            << "Uses Windows Firewall.\n\nBlocking takes immediately effect on current and new "
               "network connections. Blocking continues after PC restart (normal/sudden). "
               "Blocking not depends on program state (running/closed)."
            << true;
        QTest::newRow("5 unknown kind is empty") << 5 << QString() << QString() << false;
    }
    void confirmTextOfEachKind()
    {
        QFETCH(int, kind);
        QFETCH(QString, text);
        QFETCH(QString, details);
        QFETCH(bool, checkBox);
        std::unique_ptr<QMessageBox> box(
            buildConfirmDialog(kind, QStringLiteral("Caller title"), {}, nullptr));
        QCOMPARE(box->text(), text);
        QCOMPARE(box->detailedText(), details);
        QCOMPARE(box->windowTitle(), QStringLiteral("Caller title"));
        QCOMPARE(box->icon(), QMessageBox::Question);
        QCOMPARE(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box->styleSheet(),
                 QStringLiteral("QLabel { font-size: 13px; }QCheckBox { font-size: 13px; }"));
        QCOMPARE(box->checkBox() != nullptr, checkBox);
        if (box->checkBox()) {
            QCOMPARE(box->checkBox()->text(), QStringLiteral("Don't show this message again"));
            QVERIFY(!box->checkBox()->isChecked());
        }
    }

    void confirmAnswers_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("dontShowAgain");
        QTest::addColumn<bool>("check");
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("stored");
        QTest::newRow("lock warning switched off answers yes unseen")
            << 2 << true << false << int(QMessageBox::No) << false << true << true;
        QTest::newRow("checking the box and pressing No still stores the choice")
            << 2 << false << true << int(QMessageBox::No) << true << false << true;
        QTest::newRow("Yes without the box")
            << 2 << false << false << int(QMessageBox::Yes) << true << true << false;
        QTest::newRow("disconnect Yes passes the flag through")
            << 0 << true << false << int(QMessageBox::Yes) << true << true << true;
        QTest::newRow("log out No")
            << 1 << false << false << int(QMessageBox::No) << true << false << false;
    }
    void confirmAnswers()
    {
        QFETCH(int, kind);
        QFETCH(bool, dontShowAgain);
        QFETCH(bool, check);
        QFETCH(int, button);
        QFETCH(bool, shown);
        QFETCH(bool, yes);
        QFETCH(bool, stored);
        QPointer<QMessageBox> seen;
        setDialogRunner([&](QMessageBox *box) {
            seen = box;
            ++m_runs;
            if (check && box->checkBox())
                box->checkBox()->setChecked(true);
            return press(box, box->button(QMessageBox::StandardButton(button)));
        });
        const QList<bool> answer = showConfirmDialog(kind, Title, {}, dontShowAgain, nullptr);
        QCOMPARE(answer, (QList<bool> {yes, stored}));
        QCOMPARE(m_runs, shown ? 1 : 0);
        if (shown) {
            // Released after the answer has been read, once control returns to the loop.
            QVERIFY(!seen.isNull());
            QTRY_VERIFY_WITH_TIMEOUT(seen.isNull(), 5000);
        }
    }
};

KESTRUNE_TEST_MAIN(TestMessageDialogs)
#include "tst_messagedialogs.moc"
