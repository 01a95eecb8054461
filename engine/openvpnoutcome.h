#pragma once

#include <QString>
#include <QStringList>

// How far OpenVPN got and what it said on the way, read from the ">STATE:" and ">FATAL:"
// lines of its management connection and from its own log.
struct OpenVpnOutcome
{
    // The furthest step reached: none, WAIT (a first packet sent), AUTH (the server answered
    // the key negotiation), GET_CONFIG, CONNECTED.
    enum Step { NoStep, Wait, Auth, GetConfig, Connected };
    Step furthest = NoStep;
    bool tlsFailed = false; // "TLS key negotiation failed", a "tls-error" reconnect
    bool refused = false; // "Connection refused"
    bool noRoute = false; // "No route to host"
    bool networkUnreachable = false; // "Network is unreachable"
    bool unresolved = false; // the server's name did not resolve
    bool authFailed = false; // the server refused the account or the keys
    QString fatal; // the text of a ">FATAL:" line

    // Any text: lines that are neither known states nor known messages change nothing.
    static OpenVpnOutcome read(const QStringList &managementLines, const QString &logText);
    // The server took part in the key negotiation.
    bool serverAnswered() const { return furthest >= Auth; }
};
