// MainWindow: the "Test network lock" button of the settings page and its dialog.

#include "core/loger.h"
#include "ui/lockselftestdialog.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <QFileInfo>

void MainWindow::setUpLockSelfTest()
{
    QPushButton *button = makeSettingsButton(tr("Test network lock"));
    button->setObjectName(QStringLiteral("settingTestLockButton"));
    button->setEnabled(ui->stngBlockOtherConCheckBox->isChecked());
    const int row = ui->settingSAVLayout->indexOf(ui->stngBlockOtherConWidget);
    ui->settingSAVLayout->insertWidget(row + 1, button);
    connect(ui->stngBlockOtherConCheckBox, SIGNAL(toggled(bool)), button, SLOT(setEnabled(bool)));
    // The test runs in the privileged helper; without one beside the program (Windows, a
    // build folder) there is nothing to run it.
    button->setVisible(QFileInfo::exists(LockSelfTest::command(appDir, tempDir, true).script));
    connect(button, SIGNAL(clicked()), this, SLOT(testLockClicked()));
}

void MainWindow::testLockClicked()
{
    auto *dialog = new LockSelfTestDialog(appDir, tempDir, dialogParent());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, SIGNAL(testFinished(QStringList, bool)), this,
            SLOT(lockSelfTestFinished(QStringList, bool)));
    dialog->open();
}

void MainWindow::lockSelfTestFinished(const QStringList &lines, bool passed)
{
    Loger::writeLine(passed ? tr("Network lock self-test passed")
                            : tr("Network lock self-test failed"));
    for (const QString &line : lines)
        Loger::writeLine(QStringLiteral("[Lock test]: ") + line);
}
