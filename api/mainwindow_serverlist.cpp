#include "app/mainwindow.h"

#include <QNetworkReply>

// Placeholders until these replies are handled.
void MainWindow::getServerListReply(QNetworkReply *)
{
    emit replyReceived();
}

void MainWindow::getDoubleServerListReply(QNetworkReply *)
{
    emit replyReceived();
}
