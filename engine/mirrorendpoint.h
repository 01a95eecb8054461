#pragma once

#include <QString>

// Where the mirror tool listens and which server it forwards to. A port of -1 is unknown;
// 0 is a port like any other.
struct MirrorEndpoint
{
    QString serverAddress;
    int serverPort = -1;
    QString localAddress;
    int localPort = -1;

    bool isComplete() const;

    // Complete, and every field fit to stand in an OpenVPN option line: the addresses come
    // from the service and must not be able to add lines or arguments of their own.
    bool isUsable() const;
};

// A host name or an IPv4/IPv6 literal, fit to stand as one argument of an OpenVPN option: no
// blanks, quotes, line breaks or comment signs.
bool isHostAddressText(const QString &text);

// The endpoint fields of the mirror tool's configuration file. A file that cannot be read or
// is not a JSON object gives the defaults; a missing port gives 0 and a missing address an
// empty text; a port that is not a whole number from 0 to 65535 stays -1. `error`, when
// given, receives a description of what was wrong, or an empty text.
MirrorEndpoint readSsConfig(const QString &path, QString *error = nullptr);
