#pragma once

#include "system/managementsocket.h"

class QLocalSocket;

// Management on a Unix socket, as Linux has it: only this user reaches the folder it lies
// in, and the peer's credentials, given by the kernel, must be root's or this user's.
class LocalManagementSocket : public ManagementSocket
{
    Q_OBJECT

public:
    static constexpr const char *FileName = "management.sock";
    static constexpr const char *DefaultRunFolder = "/run/kestrunevpn";

    explicit LocalManagementSocket(QObject *parent = nullptr);

    // The folder the helper gives user `uid`'s OpenVPN: below KESTRUNE_CONTROL_DIR for a
    // client run by root (as the helper takes it from root alone), below /run/kestrunevpn
    // otherwise.
    static QString helperFolder(uint uid, bool root);

    QString path() const { return m_path; }

    void aimAt(const Aim &aim) override;
    QStringList openVpnArguments() const override;
    void connectToOpenVpn() override;
    bool waitForConnected(int ms) override;
    QAbstractSocket::SocketState state() const override;
    bool peerMayBeTold() const override;
    void abort() override;
    QIODevice *device() const override;

private:
    QLocalSocket *m_socket;
    QString m_path;
};
