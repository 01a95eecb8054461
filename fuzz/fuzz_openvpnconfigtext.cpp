// The configuration rewrite on any text: what it writes reads back as exactly the options it
// kept, every one of them in the table, and writing them again gives the same text. The first
// byte chooses how unknown options and long lines are treated.

#include "engine/openvpnconfigreader.h"
#include "engine/openvpnconfigtext.h"
#include "engine/openvpnoptiontable.h"

#include <cstdint>
#include <cstdlib>

namespace {

bool allInTable(const std::vector<OpenVpnOption> &options, bool inConnection)
{
    for (const OpenVpnOption &option : options) {
        if (option.kind == OpenVpnOption::Connection) {
            if (inConnection || !allInTable(option.block, true))
                return false;
        } else if (option.kind == OpenVpnOption::Unreadable
                   || (option.kind != OpenVpnOption::Comment
                       && !OpenVpnOptionTable::check(option, inConnection).isEmpty())) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    using namespace OpenVpnConfigText;
    const Unknown unknown = data[0] & 1 ? Unknown::Refuse : Unknown::Drop;
    const LongLines longLines = data[0] & 2 ? LongLines::Refuse : LongLines::Split;
    const QByteArray config(reinterpret_cast<const char *>(data + 1), int(size - 1));

    const Result result = rewrite(config, unknown, longLines);
    if (!result.ok) {
        if (result.reason.isEmpty() || !result.text.isEmpty())
            abort();
        return 0;
    }
    const OpenVpnConfigReader::Result again = OpenVpnConfigReader::read(result.text, longLines);
    if (!again.ok || again.items != result.options || !allInTable(again.items, false))
        abort();
    // Both ways of reading long lines read the written text alike: no line is long.
    const OpenVpnConfigReader::Result other = OpenVpnConfigReader::read(
        result.text, longLines == LongLines::Split ? LongLines::Refuse : LongLines::Split);
    if (!other.ok || other.items != result.options)
        abort();
    const Result rewritten = rewrite(result.text, Unknown::Refuse, longLines);
    if (!rewritten.ok || rewritten.text != result.text)
        abort();
    return 0;
}
