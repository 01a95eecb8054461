#pragma once

#include <QNetworkReply>
#include <QString>

// The sentence shown to the user for a reply that failed; reads only the reply's
// "timedout" mark and its error().
QString replyErrorText(QNetworkReply *reply);
QString replyErrorText(bool timedOut, QNetworkReply::NetworkError error);
