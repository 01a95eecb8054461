#include "app/mainwindow.h"

#include <QNetworkReply>

// Placeholders until these replies are handled.
void MainWindow::getSignKeyReply(QNetworkReply *)
{
    emit replyReceived();
}

void MainWindow::getAuthReply(QNetworkReply *)
{
    emit replyReceived();
}

void MainWindow::getSubsListReply(QNetworkReply *)
{
    emit replyReceived();
}
