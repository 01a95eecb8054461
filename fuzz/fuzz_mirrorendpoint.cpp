// The endpoint read from the mirror tool's configuration file, and the proxy lines made of it:
// an endpoint that is usable makes exactly the three lines of the mirror block, which the
// configuration rewrite keeps.

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
    // A name that begins with a dot is no option argument; such an endpoint is useless anyway.
    if (!endpoint.isUsable() || endpoint.serverAddress.startsWith('.')
        || endpoint.localAddress.startsWith('.'))
        return 0;
    if (patched.count('\n') != 6 || !patched.endsWith("net_gateway\nclient\n"))
        abort();
    // Every line of the block is an option the configuration may carry.
    using namespace OpenVpnConfigText;
    const Result written = rewrite(patchDevice(patched), Unknown::Refuse, LongLines::Refuse);
    if (!written.ok || written.options.size() != 7)
        abort();
    return 0;
}
