#include "mainwindow.h"

#include "ui_mainwindow.h"

#include <QTimer>

MainWindow::MainWindow(const QString &dataDir, QWidget *parent)
    : QMainWindow(parent)
    , dataDir(dataDir)
    , ui(new Ui::MainWindow)
{
    ui->setupUi(this);
    setUpPages();

    QTimer::singleShot(0, this, SLOT(checkStartType()));
}

MainWindow::~MainWindow()
{
    delete ui;
}
