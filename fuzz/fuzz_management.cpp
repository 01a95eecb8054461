// The management connection's byte stream, cut into lines and read as OpenVPN's reports.
// The first byte chooses the size of the pieces in which the stream arrives.

#include "engine/managementlinebuffer.h"
#include "engine/managementparser.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray stream(reinterpret_cast<const char *>(data), int(size));
    const int step = size ? 1 + data[0] % 64 : 1;
    const int limit = 256;
    ManagementLineBuffer buffer(limit);
    bool inHistory = true;
    for (int at = 0; at < stream.size(); at += step) {
        const QStringList lines = buffer.append(stream.mid(at, step));
        for (const QString &line : ManagementParser::markHistory(lines, &inHistory)) {
            if (line.isEmpty() || line.contains(QLatin1Char('\n')))
                abort(); // lines are complete and non-empty
            ManagementParser::stateOfLine(line);
            // A line that is not a byte count leaves the counts alone.
            const int untouched = -12345;
            int in = untouched;
            int out = untouched;
            if (!ManagementParser::parseByteCount(line, &in, &out)
                && (in != untouched || out != untouched))
                abort();
            ManagementParser::isSignalConfirmation(line);
        }
        // An unfinished line never outgrows the limit by more than one piece.
        if (buffer.pendingSize() > limit + step)
            abort();
    }
    ManagementParser::parseVersion(stream);
    ManagementParser::outputReportsError(ManagementParser::outputText(stream));
    return 0;
}
