// The endpoint read from the mirror tool's configuration file, and the proxy lines made of it:
// an endpoint that is usable makes exactly the three lines of the mirror block, which the
// filter keeps.

#include "engine/configpatches.h"
#include "engine/mirrorendpoint.h"

#include <cstdint>
#include <cstdlib>

#include <QTemporaryFile>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char *>(data), int(size));
    // In memory: the file is written for every input.
    static QTemporaryFile file(QStringLiteral("/dev/shm/kestrune-fuzz-XXXXXX"));
    if (!file.isOpen() && !file.open())
        abort();
    file.resize(0);
    file.seek(0);
    file.write(content);
    file.flush();
    QString error;
    const MirrorEndpoint endpoint = readSsConfig(file.fileName(), &error);
    const QByteArray patched = patchMirror("client\n", file.fileName(), endpoint);
    if (!endpoint.isUsable())
        return 0;
    if (patched.count('\n') != 6 || !patched.endsWith("net_gateway\nclient\n"))
        abort();
    if (removeUnsafeLines(patchDevice(patched)) != patchDevice(patched))
        abort();
    return 0;
}
