// MainWindow: the "Save diagnostics" button of the settings page and its dialog.

#include "core/loger.h"
#include "ui/diagnosticsdialog.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <QDir>
#include <QFileDialog>

void MainWindow::setUpDiagnostics()
{
    QPushButton *button = makeSettingsButton(tr("Save diagnostics…"));
    button->setObjectName(QStringLiteral("settingSaveDiagnosticsButton"));
    button->setAccessibleName(tr("Save diagnostics"));
    // A row of its own under the two log buttons: a third button beside them would widen the
    // page past the window.
    const int logs = ui->settingSAVLayout->indexOf(ui->settingLogHLayout);
    ui->settingSAVLayout->insertSpacing(logs + 1, 8);
    ui->settingSAVLayout->insertWidget(logs + 2, button);
    connect(button, SIGNAL(clicked()), this, SLOT(saveDiagnosticsClicked()));
}

void MainWindow::saveDiagnosticsClicked()
{
    DiagnosticsSources sources;
    sources.dataDir = dataDir;
    sources.programDir = appDir;
    sources.homePath = QDir::homePath();
    sources.serviceToken = authToken;
    sources.accountPassword = ui->mainPswdLineEdit->text();
    // The service's hosts and the account's servers: never the user's own addresses.
    sources.serverAddresses = networkLockAllowedHosts();

    const auto chooser = [](QWidget *parent, const QString &suggested) {
        return QFileDialog::getSaveFileName(parent, tr("Save diagnostics"), suggested,
                                            tr("ZIP archives (*.zip)"));
    };
    auto *dialog = new DiagnosticsDialog(sources, chooser, dialogParent());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [dialog] {
        Loger::writeLine(
            tr("Diagnostics saved to %0").arg(QDir::toNativeSeparators(dialog->savedPath())));
    });
    dialog->open();
}
