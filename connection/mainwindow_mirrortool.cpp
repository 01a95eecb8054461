#include "app/mainwindow.h"

#include <QNetworkReply>

// Placeholder until the mirror tool's configuration is handled.
void MainWindow::getMirrorToolConfigReply(QNetworkReply *)
{
    emit replyReceived();
}
