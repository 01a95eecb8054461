#include "app/mainwindow.h"

#include <QNetworkReply>

// Placeholders until these replies are handled.
void MainWindow::getServerMirrorCheckReply(QNetworkReply *)
{
    emit replyReceived();
}

void MainWindow::getSiteReachableReply(QNetworkReply *)
{
    emit replyReceived();
}
