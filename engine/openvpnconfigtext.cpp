#include "engine/openvpnconfigtext.h"

namespace OpenVpnConfigText {

Result rewrite(const QByteArray &config, Unknown unknown, LongLines longLines)
{
    Q_UNUSED(config)
    Q_UNUSED(unknown)
    Q_UNUSED(longLines)
    Result result;
    result.reason = QStringLiteral("the configuration reader is not built yet");
    return result;
}

} // namespace OpenVpnConfigText
