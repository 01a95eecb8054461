#include "system/defaultroute.h"

#include <QFile>

namespace {

QByteArray readAll(const char *path)
{
    QFile file(QString::fromLatin1(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

DefaultRoute::State DefaultRoute::current()
{
    return fromProcTables(readAll("/proc/net/route"), readAll("/proc/net/ipv6_route"));
}
