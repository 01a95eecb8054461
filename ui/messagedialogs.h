#pragma once

#include <functional>

#include <QList>
#include <QString>
#include <QStringList>

class QMessageBox;
class QWidget;

// The client's three dialogs. Building a box is separate from running it, so tests can
// inspect a box without entering a modal loop.
QMessageBox *buildErrorDialog(const int &code, const QStringList &args, QWidget *parent);
QMessageBox *buildInfoDialog(const int &kind, const QStringList &args, QWidget *parent);
QMessageBox *buildConfirmDialog(const int &kind, const QString &title, const QStringList &args,
                                QWidget *parent);

void showErrorDialog(const int &code, const QStringList &args, QWidget *parent);
bool showInfoDialog(const int &kind, const QStringList &args, QWidget *parent);
QList<bool> showConfirmDialog(const int &kind, const QString &title, const QStringList &args,
                              const bool &dontShowAgain, QWidget *parent);

// Runs a built box and returns what exec() would. The default runs exec(); tests install
// their own to record the box and answer it (nullptr restores the default).
using DialogRunner = std::function<int(QMessageBox *box)>;
void setDialogRunner(DialogRunner runner);
