#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Pure readers of the lines OpenVPN writes on its management connection and of its
// version banner. They know nothing of sockets or processes, so every rule can be checked
// with plain strings.
namespace ManagementParser {

// What a ">STATE:" line tells about the tunnel.
enum class StateKind { None, Connecting, Connected, Exiting };

// The first state word found anywhere in the line, in a fixed order of precedence:
// "RECONNECTING" reads as connecting because it contains "CONNECTING".
StateKind stateOfLine(const QString &line);

// ">BYTECOUNT:in,out" with both counts signed 32-bit decimals; anything else, including a
// count beyond 2147483647, gives false and leaves the outputs alone.
bool parseByteCount(const QString &line, int *bytesIn, int *bytesOut);

// The answer OpenVPN gives to "signal SIGTERM" ("SUCCESS: signal SIGTERM thrown"). Other
// "SUCCESS:" answers (password accepted, notifications switched on) are not a confirmation.
bool isSignalConfirmation(const QString &line);

// The first data after connecting holds the password prompt, the welcome banner, the
// answers to the greeting and the state history of "state on all", whose lines come without
// the ">STATE:" prefix and end with "END". While `inHistory` is set, prompt, banner and "END"
// are dropped and history lines get the prefix, so the last of them decides the status at
// once; "END" clears `inHistory`. Lines outside the history pass unchanged.
QStringList markHistory(const QStringList &lines, bool *inHistory);

// "^openvpn (\d\.\d\.\d)" without regard to case, matched against the first 50 characters
// of the output of "--version"; a null string when it does not match.
QString parseVersion(const QByteArray &versionOutput);

// Standard output as text: cut at the first zero byte, read as Latin-1.
QString outputText(const QByteArray &bytes);

// OpenVPN output reports an error when it says "ERROR" in any letter case.
bool outputReportsError(const QString &text);

} // namespace ManagementParser
