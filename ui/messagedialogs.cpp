#include "messagedialogs.h"

#include <QMessageBox>

// Placeholder until the dialogs are built out; the interface above is final.
namespace {
DialogRunner &runner()
{
    static DialogRunner r;
    return r;
}
int run(QMessageBox *box)
{
    return runner() ? runner()(box) : box->exec();
}
} // namespace

void setDialogRunner(DialogRunner r)
{
    runner() = std::move(r);
}

QMessageBox *buildErrorDialog(const int &code, const QStringList &args, QWidget *parent)
{
    auto *box = new QMessageBox(parent);
    box->setText(QStringLiteral("Error code: %0<br>").arg(code) + args.value(0));
    return box;
}

QMessageBox *buildInfoDialog(const int &, const QStringList &, QWidget *parent)
{
    return new QMessageBox(parent);
}

QMessageBox *buildConfirmDialog(const int &, const QString &title, const QStringList &,
                                QWidget *parent)
{
    auto *box = new QMessageBox(parent);
    box->setWindowTitle(title);
    return box;
}

void showErrorDialog(const int &code, const QStringList &args, QWidget *parent)
{
    QMessageBox *box = buildErrorDialog(code, args, parent);
    run(box);
    delete box;
}

bool showInfoDialog(const int &kind, const QStringList &args, QWidget *parent)
{
    QMessageBox *box = buildInfoDialog(kind, args, parent);
    const bool ok = run(box) == QMessageBox::Ok;
    delete box;
    return ok;
}

QList<bool> showConfirmDialog(const int &kind, const QString &title, const QStringList &args,
                              const bool &dontShowAgain, QWidget *parent)
{
    QMessageBox *box = buildConfirmDialog(kind, title, args, parent);
    const bool yes = run(box) == QMessageBox::Yes;
    delete box;
    return {yes, dontShowAgain};
}
