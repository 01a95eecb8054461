#include "engine/diagnosisverdict.h"

namespace {

bool reachedAtTcp(ProbeResult r)
{
    return r == ProbeResult::Answered || r == ProbeResult::Silent;
}

const char *const Texts[] = {
    QT_TRANSLATE_NOOP("DiagnosisVerdict",
                      "No network: this computer has no route to the Internet, and nothing "
                      "answers."),
    QT_TRANSLATE_NOOP("DiagnosisVerdict",
                      "The service is blocked: its API cannot be reached on either address."),
    QT_TRANSLATE_NOOP("DiagnosisVerdict",
                      "The server does not answer: it may be down. Choose another server."),
    QT_TRANSLATE_NOOP("DiagnosisVerdict",
                      "UDP is blocked, TCP works: this network lets the server through on TCP "
                      "only."),
    QT_TRANSLATE_NOOP("DiagnosisVerdict",
                      "The network blocks VPN connections; the mirror route works."),
    QT_TRANSLATE_NOOP("DiagnosisVerdict",
                      "The server answers but refuses the account or the keys."),
    QT_TRANSLATE_NOOP("DiagnosisVerdict",
                      "The connection did not come up, and the cause could not be found."),
};

} // namespace

DiagnosisVerdict::Kind DiagnosisVerdict::decide(const DiagnosisFacts &f)
{
    const OpenVpnOutcome &o = f.openVpn;
    const bool serverAtTcp = reachedAtTcp(f.serverTcp) || o.serverAnswered();
    const bool mirrorWorks = f.mirror == ProbeResult::Answered;
    const bool apiDown = f.apiProbed && !f.apiReachable[0] && !f.apiReachable[1];
    const bool apiAnswered = f.apiProbed && !apiDown;
    // Without a default route some servers may still be reached (a route of their own): what
    // the probes saw outranks the routing table.
    if (f.defaultRoute == DiagnosisFacts::Route::Missing && !serverAtTcp && !mirrorWorks
        && !apiAnswered && !o.authFailed)
        return NoNetwork;
    if (o.authFailed)
        return Refused;
    if (apiDown)
        return serverAtTcp || mirrorWorks ? ServiceBlocked : NoNetwork;
    if (o.networkUnreachable && !serverAtTcp && !mirrorWorks)
        return NoNetwork;
    if (serverAtTcp) {
        // OpenVPN over UDP got no answer while the same server takes TCP.
        if (f.udp && !o.serverAnswered() && reachedAtTcp(f.serverTcp))
            return UdpBlocked;
        // The server is there on TCP but the VPN dialogue does not get through.
        if (!o.serverAnswered() && mirrorWorks && !f.mirrorUsed)
            return VpnBlocked;
        return Unclear;
    }
    if (mirrorWorks && !f.mirrorUsed)
        return VpnBlocked;
    switch (f.serverTcp) {
    case ProbeResult::Refused:
    case ProbeResult::TimedOut:
    case ProbeResult::Unreachable:
    case ProbeResult::Unresolved:
    case ProbeResult::Garbage:
        return ServerDown;
    default:
        return o.refused || o.unresolved ? ServerDown : Unclear;
    }
}

DiagnosisVerdict::Road DiagnosisVerdict::roadOf(Kind kind)
{
    switch (kind) {
    case ServerDown:
        return ChooseServer;
    case UdpBlocked:
        return UseTcp;
    case VpnBlocked:
        return UseMirror;
    default:
        return NoRoad;
    }
}

QString DiagnosisVerdict::text(Kind kind)
{
    return tr(Texts[kind]);
}

QString DiagnosisVerdict::englishText(Kind kind)
{
    return QString::fromLatin1(Texts[kind]);
}

QString DiagnosisVerdict::roadText(Road road)
{
    switch (road) {
    case ChooseServer:
        return tr("Choose another server");
    case UseTcp:
        return tr("Use TCP");
    case UseMirror:
        return tr("Use the mirror route");
    case NoRoad:
        break;
    }
    return QString();
}
