#include "app/mainwindow.h"

#include <QNetworkReply>

// Placeholders until these replies are handled.
void MainWindow::getOriginalIPReply(QNetworkReply *)
{
    emit replyReceived();
}

void MainWindow::getOpenVPNConfigReply(QNetworkReply *)
{
    emit replyReceived();
}

void MainWindow::getNewIPReply(QNetworkReply *)
{
    emit replyReceived();
}
