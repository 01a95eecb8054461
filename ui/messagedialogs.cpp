#include "messagedialogs.h"

#include "buildconfig.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QIcon>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace {

const char *const Context = "MainWindow";

const char *const ErrorTexts[] = {
    nullptr,
    QT_TRANSLATE_NOOP("MainWindow", "Unable to get list of subscriptions."),
    QT_TRANSLATE_NOOP("MainWindow", "Unable to get list of servers."),
    QT_TRANSLATE_NOOP("MainWindow", "Unable to get list of servers for double subscription."),
    QT_TRANSLATE_NOOP("MainWindow", "Unable to get Shadowsocks config file."),
    QT_TRANSLATE_NOOP("MainWindow", "Unable to get OpenVPN config file."),
    QT_TRANSLATE_NOOP("MainWindow", "Unable to get your IP before VPN connection."),
    QT_TRANSLATE_NOOP("MainWindow", "Unable to get your new IP througth VPN connection."),
    QT_TRANSLATE_NOOP("MainWindow", "Log is switched off or file does not exists."),
    nullptr,
    QT_TRANSLATE_NOOP("MainWindow", "Unsupported subscription type."),
    QT_TRANSLATE_NOOP("MainWindow", "IP before and after VPN connection establishment are equal."),
    QT_TRANSLATE_NOOP("MainWindow", "Unable to apply following setting:<br>%0"),
    QT_TRANSLATE_NOOP("MainWindow", "Application is running already."),
    QT_TRANSLATE_NOOP("MainWindow", "Additional tool install/check error. Unable to proceed."),
};
constexpr int ErrorTextCount = int(sizeof(ErrorTexts) / sizeof(ErrorTexts[0]));

const char *const ConfirmTexts[] = {
    QT_TRANSLATE_NOOP("MainWindow", "Active VPN connection will be disconnected.<br>Proceed?"),
    QT_TRANSLATE_NOOP("MainWindow", "Program will log out from account.<br>Proceed?"),
    QT_TRANSLATE_NOOP("MainWindow",
                      "Block setting configures system components by special way.<br><br>Please "
                      "do not change or remove additional rules and/or options created by program "
                      "in system components.<br><br>Configuration interruption may lead to "
                      "unblocking failure.<br><br>Proceed?"),
};
constexpr int ConfirmTextCount = int(sizeof(ConfirmTexts) / sizeof(ConfirmTexts[0]));

constexpr int InfoLanguage = 0;
constexpr int InfoSubscriptionEnds = 1;
constexpr int InfoUnblocked = 2;
constexpr int ConfirmNetworkLock = 2;

QString tr(const char *text)
{
    return QCoreApplication::translate(Context, text);
}

DialogRunner &runner()
{
    static DialogRunner r;
    return r;
}

QString &siteBase()
{
    static QString base = QString::fromUtf8(BuildConfig::DefaultSiteBase);
    return base;
}

int run(QMessageBox *box)
{
    return runner() ? runner()(box) : box->exec();
}

QMessageBox *newBox(QWidget *parent, const QString &styleSheet)
{
    auto *box = new QMessageBox(parent);
    box->setWindowTitle(QStringLiteral("Kestrune VPN"));
    box->setWindowIcon(QIcon(QStringLiteral(":/images/icons/ksvpn.ico")));
    box->setStyleSheet(styleSheet);
    return box;
}

const QString LabelStyle = QStringLiteral("QLabel { font-size: 13px; }");

} // namespace

void setDialogRunner(DialogRunner r)
{
    runner() = std::move(r);
}

void setDialogSiteBase(const QString &base)
{
    siteBase() = base;
}

QString dialogSiteBase()
{
    return siteBase();
}

QMessageBox *buildErrorDialog(const int &code, const QStringList &args, QWidget *parent)
{
    QString text = QCoreApplication::translate("MainWindow", "Error code: %0<br>").arg(code);
    if (code == 0 || code == 9)
        text += args.value(0);
    else if (code == 12)
        text += tr(ErrorTexts[12]).arg(args.value(0));
    else if (code > 0 && code < ErrorTextCount)
        text += tr(ErrorTexts[code]);

    QMessageBox *box = newBox(parent, LabelStyle);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setIcon(QMessageBox::Critical);
    box->setText(text);
    box->setStandardButtons(QMessageBox::Ok);
    return box;
}

QMessageBox *buildInfoDialog(const int &kind, const QStringList &args, QWidget *parent)
{
    QString text;
    if (kind == InfoLanguage) {
        text = QCoreApplication::translate("MainWindow", "New language will be applied after restart.");
    } else if (kind == InfoSubscriptionEnds) {
        // The subscription's name comes from the service: shown as text, never as markup.
        text = QCoreApplication::translate("MainWindow", "Subscription \"%0\" will end %1.")
                   .arg(args.value(0).toHtmlEscaped(), args.value(1).toHtmlEscaped())
            + QStringLiteral("<br><a href=\"%0/en/panel/package/buy\">%1</a>")
                  .arg(siteBase().toHtmlEscaped(), QCoreApplication::translate("MainWindow", "Update subscription"));
    } else if (kind == InfoUnblocked) {
        text = QCoreApplication::translate("MainWindow", "Following setting applied:<br>Lock network without VPN: unblocking<br><br>"
                  "Check your network connection. If you experiencing issues, use "
                  "<b>Emergency unblock</b>.");
    }

    QMessageBox *box = newBox(parent, LabelStyle);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setIcon(QMessageBox::Information);
    box->setText(text);
    box->setStandardButtons(QMessageBox::Ok);
    box->setDefaultButton(QMessageBox::Ok);
    if (kind == InfoUnblocked)
        box->addButton(new QPushButton(QCoreApplication::translate("MainWindow", "Emergency unblock"), box), QMessageBox::ResetRole);
    return box;
}

QMessageBox *buildConfirmDialog(const int &kind, const QString &title, const QStringList &,
                                QWidget *parent)
{
    QMessageBox *box
        = newBox(parent, LabelStyle + QStringLiteral("QCheckBox { font-size: 13px; }"));
    box->setWindowTitle(title);
    box->setIcon(QMessageBox::Question);
    if (kind >= 0 && kind < ConfirmTextCount)
        box->setText(tr(ConfirmTexts[kind]));
    box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    if (kind == ConfirmNetworkLock) {
        box->setDetailedText(
            QCoreApplication::translate("MainWindow", "Uses Windows Firewall.\n\nBlocking takes immediately effect on current and new "
               "network connections. Blocking continues after PC restart (normal/sudden). "
               "Blocking not depends on program state (running/closed)."));
        box->setCheckBox(new QCheckBox(QCoreApplication::translate("MainWindow", "Don't show this message again"), box));
    }
    return box;
}

void showErrorDialog(const int &code, const QStringList &args, QWidget *parent)
{
    QPointer<QMessageBox> box = buildErrorDialog(code, args, parent);
    run(box);
    // exec() deletes a box that deletes itself on close; a runner may leave it alive.
    delete box.data();
}

bool showInfoDialog(const int &kind, const QStringList &args, QWidget *parent)
{
    QPointer<QMessageBox> box = buildInfoDialog(kind, args, parent);
    const bool ok = run(box) == QMessageBox::Ok;
    delete box.data();
    return ok;
}

QList<bool> showConfirmDialog(const int &kind, const QString &title, const QStringList &args,
                              const bool &dontShowAgain, QWidget *parent)
{
    if (kind == ConfirmNetworkLock && dontShowAgain)
        return {true, true};
    QPointer<QMessageBox> box = buildConfirmDialog(kind, title, args, parent);
    const bool yes = run(box) == QMessageBox::Yes;
    bool checked = dontShowAgain;
    if (box && kind == ConfirmNetworkLock && box->checkBox())
        checked = box->checkBox()->isChecked();
    if (box)
        box->deleteLater();
    return {yes, checked};
}
