// MainWindow: the connection controller's verdict on a connection that did not come up, in
// one sentence below the connection page's status, with the button of the road that works.

#include "engine/diagnosisverdict.h"
#include "ui/pagenavigation.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

void MainWindow::setUpDiagnosis()
{
    diagnosisWidget = new QWidget(ui->statusPage);
    diagnosisWidget->setObjectName(QStringLiteral("vpnConDiagnosisWidget"));
    auto *layout = new QVBoxLayout(diagnosisWidget);
    layout->setContentsMargins(0, 0, 0, 0);
    diagnosisLabel = new QLabel(diagnosisWidget);
    diagnosisLabel->setObjectName(QStringLiteral("vpnConDiagnosisLabel"));
    diagnosisLabel->setWordWrap(true);
    diagnosisLabel->setAlignment(Qt::AlignCenter);
    diagnosisLabel->setStyleSheet(QStringLiteral("color:#e93023; font-size: 13px;"));
    diagnosisLabel->setAccessibleName(tr("Why the connection did not come up"));
    diagnosisButton = new QPushButton(diagnosisWidget);
    diagnosisButton->setObjectName(QStringLiteral("vpnConDiagnosisButton"));
    diagnosisButton->setCursor(Qt::PointingHandCursor);
    diagnosisButton->setMinimumHeight(32);
    diagnosisButton->setStyleSheet(QStringLiteral(
        "QPushButton { color: #fb7c2f; background: white; border: 1px solid #fb7c2f; "
        "border-radius: 16px; padding: 0 16px; font-size: 12px; } "
        "QPushButton:hover, QPushButton:focus { background: #fff3ec; } "
        "QPushButton:pressed { color: #e93023; border-color: #e93023; }"));
    connect(diagnosisButton, &QPushButton::clicked, connection,
            &ConnectionController::takeDiagnosisRoad);
    layout->addWidget(diagnosisLabel);
    layout->addWidget(diagnosisButton, 0, Qt::AlignHCenter);
    ui->statusPageVLayout->addWidget(diagnosisWidget);
    diagnosisWidget->hide();

    connect(connection, &ConnectionController::diagnosisStarted, this,
            &MainWindow::diagnosisStarted);
    connect(connection, &ConnectionController::diagnosisFound, this, &MainWindow::diagnosisFound);
    connect(connection, &ConnectionController::diagnosisRoadTaken, this,
            &MainWindow::diagnosisRoadTaken);
    connect(connection, &ConnectionController::diagnosisHidden, diagnosisWidget, &QWidget::hide);
    connect(connection, &ConnectionController::serverChoiceRequested, ui->vpnConManualChoiceButton,
            &QAbstractButton::click);
    connect(connection, &ConnectionController::reconnectRequested, this,
            [this]() { connectTo(firstServerIndex, secondServerIndex); });
}

void MainWindow::diagnosisStarted()
{
    diagnosisLabel->setText(tr("Finding out why the connection did not come up..."));
    diagnosisButton->hide();
    diagnosisWidget->show();
}

void MainWindow::diagnosisFound(int kind, int road)
{
    diagnosisLabel->setText(DiagnosisVerdict::text(DiagnosisVerdict::Kind(kind)));
    const QString roadText = DiagnosisVerdict::roadText(DiagnosisVerdict::Road(road));
    diagnosisButton->setText(roadText);
    diagnosisButton->setAccessibleName(roadText);
    diagnosisButton->setVisible(!roadText.isEmpty());
    diagnosisWidget->show();
    refreshConnectionPage();
}

void MainWindow::diagnosisRoadTaken(int road, bool automatically)
{
    diagnosisButton->hide();
    if (!automatically)
        return;
    const QString note = road == DiagnosisVerdict::UseTcp
        ? tr("The client switched to TCP by itself.")
        : tr("The client switched to the mirror route by itself.");
    diagnosisLabel->setText(diagnosisLabel->text() + QLatin1Char(' ') + note);
}

// The verdict stands in place of the bare failure text while the page is idle.
void MainWindow::showDiagnosisOnIdlePage()
{
    if (!diagnosisWidget || diagnosisWidget->isHidden())
        return;
    ui->vpnConLoadingLabel->clear();
    ui->vpnConStatusStackedWidget->setCurrentIndex(Status_Busy);
}
