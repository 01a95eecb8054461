#include "engine/configremote.h"

#include <QList>

ConfigRemote ConfigRemote::read(const QByteArray &config)
{
    ConfigRemote remote;
    bool protoSeen = false;
    for (const QByteArray &raw : config.split('\n')) {
        const QList<QByteArray> words = raw.simplified().split(' ');
        const QByteArray name = words.value(0).toLower();
        if (name == "remote" && remote.host.isEmpty() && words.size() >= 2) {
            remote.host = QString::fromLatin1(words.at(1));
            bool ok = false;
            const uint port = words.value(2).toUInt(&ok);
            if (ok && port > 0 && port <= 65535)
                remote.port = quint16(port);
            // "remote host port proto" decides unless a "proto" line came first.
            if (words.size() >= 4 && !protoSeen)
                remote.udp = words.at(3).toLower().startsWith("udp");
        } else if (name == "proto" && words.size() >= 2 && !protoSeen) {
            protoSeen = true;
            remote.udp = words.at(1).toLower().startsWith("udp");
        }
    }
    return remote;
}
