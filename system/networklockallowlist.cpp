#include "networklockallowlist.h"

#include <QDir>
#include <QRegularExpression>
#include <QSaveFile>
#include <QUrl>

namespace NetworkLockAllowList {

QStringList hostsOf(const QStringList &addresses)
{
    // Names, IPv4 and IPv6 addresses only: the file is read by a script running as root.
    static const QRegularExpression plainHost(QStringLiteral("^[A-Za-z0-9._:-]+$"));
    QStringList hosts;
    for (const QString &address : addresses) {
        const QString trimmed = address.trimmed();
        QString host = trimmed.contains(QLatin1String("://")) ? QUrl(trimmed).host() : trimmed;
        if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
            host = host.mid(1, host.size() - 2);
        if (host.isEmpty() || !plainHost.match(host).hasMatch() || hosts.contains(host))
            continue;
        hosts.append(host);
    }
    return hosts;
}

bool write(const QString &tempDir, const QStringList &hosts)
{
    QSaveFile file(QDir(tempDir).filePath(QLatin1String(FileName)));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (const QString &host : hosts)
        file.write(host.toUtf8() + '\n');
    return file.commit();
}

} // namespace NetworkLockAllowList
