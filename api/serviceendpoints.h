#pragma once

#include <QByteArray>
#include <QString>

// The service addresses the window talks to. The built-in ones are fixed when the program
// is configured; tests hand the window their own local service instead.
struct ServiceEndpoints
{
    QString apiBase; // HTTPS base of the REST API
    QString siteBase; // HTTPS base of the web site (links, buy pages)
    QString emergencyBase; // default of the emergency address setting
    QByteArray apiHostName; // "Host" sent when the API is reached by its literal address
    QString ipEchoBase; // outside address-echo service of the country check

    static ServiceEndpoints builtIn();
};
