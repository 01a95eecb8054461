// MainWindow: what a screen reader and a keyboard alone need beyond the form: the names of
// what the code makes, the Tab order of the toggles, the keys of each page (Enter, Escape,
// Space on a list), the visible keyboard focus and the spoken connection state.

#include "ui/keyboardfocusring.h"
#include "ui/pagenavigation.h"
#include "ui/slidingbutton.h"
#include "ui/slidingstackedwidget.h"
#include "ui/vpnserveritem.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <functional>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextDocumentFragment>

namespace {

// Hands the key presses meant for the focused widget of one window to `handle` before that
// widget sees them; a key handled there goes no further.
class WindowKeys : public QObject
{
public:
    WindowKeys(QWidget *window, std::function<bool(QWidget *, int)> handle)
        : QObject(window)
        , m_window(window)
        , m_handle(std::move(handle))
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || watched != QApplication::focusWidget())
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        auto *widget = static_cast<QWidget *>(watched);
        // Shift+Tab arrives as Backtab with Shift held.
        const Qt::KeyboardModifiers ignored = key->key() == Qt::Key_Backtab
            ? Qt::KeypadModifier | Qt::ShiftModifier
            : Qt::KeypadModifier;
        if (key->isAutoRepeat() || widget->window() != m_window
            || (key->modifiers() & ~ignored) != Qt::NoModifier)
            return false;
        return m_handle(widget, key->key());
    }

private:
    QWidget *m_window;
    std::function<bool(QWidget *, int)> m_handle;
};

bool clickIfUsable(QAbstractButton *button)
{
    if (!button || !button->isVisible() || !button->isEnabled())
        return false;
    button->click();
    return true;
}

// Rich status text as words: markup, the loading dots and surplus spaces go.
QString spokenText(const QString &richText)
{
    QString text = QTextDocumentFragment::fromHtml(richText).toPlainText().simplified();
    while (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

} // namespace

void MainWindow::setUpAccessibility()
{
    // The toggles are made in code after the form, which put them at the end of the Tab
    // chain; they belong under the gear of their page.
    const QPair<QWidget *, SlidingButton *> toggles[]
        = {{ui->vpnServSettingButton, vpnServSlidingButton},
           {ui->vpnDoubleServSettingButton, vpnDoubleSlidingButton}};
    for (const auto &toggle : toggles) {
        auto *knob = toggle.second->findChild<QPushButton *>(QStringLiteral("button"));
        knob->setFocusPolicy(Qt::TabFocus);
        setTabOrder(toggle.first, knob);
    }

    // The fields' leading pictures are buttons to a screen reader: they carry the field's name.
    for (QLineEdit *field : {ui->mainLoginLineEdit, ui->mainPswdLineEdit}) {
        for (QAction *picture : field->actions())
            picture->setText(field->accessibleName());
    }

    new KeyboardFocusRing(this);
    new WindowKeys(this, [this](QWidget *focus, int key) { return pageKeyPressed(focus, key); });

    connect(ui->vpnConStatusStackedWidget, &QStackedWidget::currentChanged, this,
            &MainWindow::announceConnectionStatus);
    announceConnectionStatus();

    // Typing starts in the login field, not on the gear above it.
    ui->mainLoginLineEdit->setFocus();
}

bool MainWindow::pageKeyPressed(QWidget *focus, int key)
{
    // While a page slides in, the page on show is still the one leaving: a second Enter
    // there would sign in twice.
    if (ui->stackedWidget->isSliding())
        return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
    const int page = ui->stackedWidget->currentIndex();
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        // A link takes Enter itself; a focused button is the one Enter means.
        if (qobject_cast<QLabel *>(focus))
            return false;
        if (auto *button = qobject_cast<QPushButton *>(focus))
            return clickIfUsable(button);
        QAbstractButton *main = nullptr;
        if (page == Page_SignIn)
            main = ui->mainLoginButton;
        else if (page == Page_Subscription)
            main = ui->subsNextButton;
        else if (page == Page_Connection)
            main = ui->vpnConAutoChoiceButton;
        else if (page == Page_Servers)
            main = ui->vpnServConnectButton;
        else if (page == Page_DoubleServers)
            main = ui->vpnDoubleServStackedWidget->currentIndex() == 0
                ? ui->vpnDoubleServConnectButton
                : ui->vpnDoubleFavServConnectButton;
        return clickIfUsable(main);
    }
    case Qt::Key_Escape: {
        QAbstractButton *back = nullptr;
        if (page == Page_Subscription)
            back = ui->subsBackButton;
        else if (page == Page_Servers)
            back = ui->vpnServBackButton;
        else if (page == Page_Info)
            back = ui->vpnInfoBackButton;
        else if (page == Page_DoubleServers)
            back = ui->vpnDoubleServBackButton;
        else if (page == Page_About)
            back = ui->aboutBackButton;
        else if (page == Page_Settings)
            back = settingsBackButton();
        return clickIfUsable(back);
    }
    case Qt::Key_Space: {
        // The arrows move through a server list; Space works the star of the row reached.
        auto *list = qobject_cast<QListWidget *>(focus);
        if (!list
            || (list != ui->vpnServAllServListWidget && list != ui->vpnServFavServListWidget
                && list != ui->vpnDoubleFavServListWidget))
            return false;
        auto *row = qobject_cast<VPNServerItem *>(list->itemWidget(list->currentItem()));
        if (!row)
            return false;
        row->toggleFavorite();
        return true;
    }
    case Qt::Key_Backtab: {
        // Shift+Tab on a link that opens its label stays there (Qt looks for the link before
        // it and finds the same one): the focus goes to the control before the label instead.
        auto *label = qobject_cast<QLabel *>(focus);
        if (!label || label->selectionStart() > 0)
            return false;
        for (QWidget *w = focus->previousInFocusChain(); w != focus;
             w = w->previousInFocusChain()) {
            if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled()
                && w->window() == this) {
                w->setFocus(Qt::BacktabFocusReason);
                return true;
            }
        }
        return false;
    }
    default:
        return false;
    }
}

void MainWindow::announceConnectionStatus()
{
    // The address buttons are named by their titles, and say which address they copy.
    const QPair<QPushButton *, QLabel *> addresses[]
        = {{ui->vpnInfoNewIPButton, ui->vpnInfoNewIPTitleLabel},
           {ui->vpnInfoOrIPButton, ui->vpnInfoOrIPTitleLabel}};
    for (const auto &address : addresses) {
        const QString name
            = (address.second->text() + QLatin1Char(' ') + address.first->text()).trimmed();
        if (address.first->accessibleName() != name)
            address.first->setAccessibleName(name);
    }

    QStackedWidget *status = ui->vpnConStatusStackedWidget;
    QString text;
    switch (status->currentIndex()) {
    case 0:
        text = ui->vpnConUnconLabel->text();
        break;
    case 1: {
        QString route = ui->vpnConConCountryLabel1->text() + QStringLiteral(", ")
            + ui->vpnConConCityLabel1->text();
        if (!ui->vpConConSecondServWidget->isHidden())
            route += QStringLiteral(" - ") + ui->vpnConConCountryLabel2->text()
                + QStringLiteral(", ") + ui->vpnConConCityLabel2->text();
        text = tr("Connected: %0").arg(route);
        break;
    }
    case 2:
        text = spokenText(ui->vpnConLoadingLabel->text());
        break;
    default:
        text = spokenText(ui->vpnConCheckServAvailLabel->text());
        break;
    }
    const QString previous = status->accessibleName();
    if (text.isEmpty() || text == previous)
        return;
    // The name change alone is not spoken unless the user is there; the alert is.
    status->setAccessibleName(text);
    if (previous.isEmpty())
        return;
    QAccessibleEvent alert(status, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}
