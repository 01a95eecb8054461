#include "engine/openvpnoutcome.h"

namespace {

bool says(const QString &text, const char *words)
{
    return text.contains(QLatin1String(words), Qt::CaseInsensitive);
}

void readMessages(OpenVpnOutcome &o, const QString &text)
{
    o.tlsFailed
        = o.tlsFailed || says(text, "TLS key negotiation failed") || says(text, ",tls-error");
    o.refused = o.refused || says(text, "Connection refused");
    o.noRoute = o.noRoute || says(text, "No route to host");
    o.networkUnreachable = o.networkUnreachable || says(text, "Network is unreachable");
    o.unresolved
        = o.unresolved || says(text, "Cannot resolve host address") || says(text, "RESOLVE: ");
    // The server took part and said no: a refused account, a refused certificate, keys that
    // do not match the server's.
    o.authFailed = o.authFailed || says(text, "AUTH_FAILED") || says(text, "VERIFY ERROR")
        || says(text, "TLS Error: TLS object CN") || says(text, "HMAC authentication failed")
        || says(text, "tls-crypt unwrapping failed")
        || says(text, "Authenticate/Decrypt packet error");
}

} // namespace

OpenVpnOutcome OpenVpnOutcome::read(const QStringList &managementLines, const QString &logText)
{
    OpenVpnOutcome o;
    for (const QString &line : managementLines) {
        if (line.startsWith(QLatin1String(">FATAL:"))) {
            o.fatal = line.mid(7).trimmed();
            readMessages(o, line);
            continue;
        }
        if (!line.startsWith(QLatin1String(">STATE:")))
            continue;
        // ">STATE:time,NAME,detail,...": the name is the second field.
        const QStringList fields = line.mid(7).split(QLatin1Char(','));
        const QString name = fields.value(1);
        Step step = NoStep;
        if (name == QLatin1String("WAIT") || name == QLatin1String("TCP_CONNECT"))
            step = Wait;
        else if (name == QLatin1String("AUTH"))
            step = Auth;
        else if (name == QLatin1String("GET_CONFIG") || name == QLatin1String("ASSIGN_IP")
                 || name == QLatin1String("ADD_ROUTES"))
            step = GetConfig;
        else if (name == QLatin1String("CONNECTED"))
            step = Connected;
        else if (name == QLatin1String("RECONNECTING"))
            readMessages(o, QLatin1Char(',') + fields.value(2));
        if (step > o.furthest)
            o.furthest = step;
    }
    readMessages(o, logText);
    // A server whose packets arrived has answered, even when the negotiation failed later.
    if (says(logText, "TLS: Initial packet from") && o.furthest < Auth)
        o.furthest = Auth;
    return o;
}
