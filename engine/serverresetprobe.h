#pragma once

#include "engine/diagnosisfacts.h"

#include <QByteArray>
#include <QNetworkProxy>
#include <QObject>

class QTcpSocket;
class QTimer;

// One TCP connect to an OpenVPN server's port, directly or through a SOCKS proxy, followed by
// the first packet of OpenVPN's key negotiation: a server answers it with its own reset. The
// whole probe ends within its bound and reports once.
class ServerResetProbe : public QObject
{
    Q_OBJECT

public:
    explicit ServerResetProbe(QObject *parent = nullptr);
    void start(const QString &host, quint16 port, int limitMs,
               const QNetworkProxy &proxy = QNetworkProxy(QNetworkProxy::NoProxy));

    // OpenVPN's client reset over TCP: length, opcode, a session id, no acks, packet id 0.
    static QByteArray clientReset();
    // What the first bytes from the far end say: the server's reset, or something else.
    // Fewer bytes than a reset needs give NotRun (wait for more).
    static ProbeResult readAnswer(const QByteArray &answer);

signals:
    void done(ProbeResult result);

private:
    void finish(ProbeResult result);
    QTcpSocket *m_socket = nullptr;
    QTimer *m_timer = nullptr;
    QByteArray m_answer;
    bool m_connected = false;
    bool m_done = false;
};
