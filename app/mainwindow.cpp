#include "mainwindow.h"

#include "ui_mainwindow.h"

#include <QTimer>

MainWindow::MainWindow(const QString &dataDir, QWidget *parent)
    : MainWindow(dataDir, ServiceEndpoints::builtIn(), parent)
{ }

MainWindow::MainWindow(const QString &dataDir, const ServiceEndpoints &endpoints, QWidget *parent)
    : QMainWindow(parent)
    , dataDir(dataDir)
    , endpoints(endpoints)
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
