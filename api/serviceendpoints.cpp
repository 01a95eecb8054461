#include "serviceendpoints.h"

#include "buildconfig.h"

ServiceEndpoints ServiceEndpoints::builtIn()
{
    ServiceEndpoints e;
    e.apiBase = QString::fromLatin1(BuildConfig::DefaultApiBase);
    e.siteBase = QString::fromLatin1(BuildConfig::DefaultSiteBase);
    e.emergencyBase = QString::fromLatin1(BuildConfig::DefaultEmergencyAddress);
    e.apiHostName = QByteArray(BuildConfig::ApiHostName);
    e.ipEchoBase = QString::fromLatin1(BuildConfig::IpEchoBase);
    return e;
}
