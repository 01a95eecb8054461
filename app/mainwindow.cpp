#include "mainwindow.h"

MainWindow::MainWindow(const QString &dataDir, QWidget *parent)
    : QMainWindow(parent), dataDir(dataDir)
{
    setWindowTitle(QStringLiteral("Kestrune VPN"));
    setFixedSize(300, 470);
}

MainWindow::~MainWindow() = default;
