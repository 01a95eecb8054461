// The mirror tool's configuration rebuilt from a reply: a result always parses, holds only the
// members the client knows, listens on the loopback address and reads back as a usable
// endpoint.

#include "engine/mirrorconfig.h"
#include "engine/mirrorendpoint.h"

#include <cstdint>
#include <cstdlib>

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryFile>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray reply(reinterpret_cast<const char *>(data), int(size));
    const MirrorConfig rebuilt = rebuildMirrorConfig(reply);
    for (const QString &name : rebuilt.dropped) {
        if (name.size() > 64 || name.contains(QLatin1Char('\n')) || name.contains(QLatin1Char('"')))
            abort(); // names reach the log
    }
    if (rebuilt.text.isEmpty())
        return 0;
    if (!rebuilt.unusable.isEmpty())
        abort();
    const QJsonDocument document = QJsonDocument::fromJson(rebuilt.text);
    if (!document.isObject())
        abort();
    const QJsonObject config = document.object();
    static const QStringList known {"server",   "server_port", "local_address", "local_port",
                                    "password", "method",      "timeout"};
    for (const QString &key : config.keys()) {
        if (!known.contains(key))
            abort();
    }
    if (config.value(QLatin1String("local_address")).toString() != QLatin1String("127.0.0.1")
        || !mirrorToolMethods().contains(config.value(QLatin1String("method")).toString()))
        abort();
    for (const char *port : {"server_port", "local_port"}) {
        const int value = config.value(QLatin1String(port)).toInt();
        if (value < 1 || value > 65535)
            abort();
    }
    static QTemporaryFile file(QStringLiteral("/dev/shm/kestrune-fuzz-XXXXXX"));
    if (!file.isOpen() && !file.open())
        abort();
    file.resize(0);
    file.seek(0);
    file.write(rebuilt.text);
    file.flush();
    if (!readSsConfig(file.fileName()).isUsable())
        abort();
    return 0;
}
