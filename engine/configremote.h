#pragma once

#include <QByteArray>
#include <QString>

// The server a configuration sends OpenVPN to: its first "remote" and the protocol.
struct ConfigRemote
{
    QString host; // empty when the configuration names none
    quint16 port = 1194; // OpenVPN's port when the line gives none
    bool udp = true; // OpenVPN's default protocol

    static ConfigRemote read(const QByteArray &config);
};
