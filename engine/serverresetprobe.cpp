#include "engine/serverresetprobe.h"

#include <QRandomGenerator>
#include <QTcpSocket>
#include <QTimer>
#include <QtEndian>

namespace {

// Opcodes of OpenVPN's key negotiation, in the top five bits of the first byte.
const int ClientResetV2 = 7;
const int ServerResetV2 = 8;
// Length (2) + opcode (1) + session id (8) + ack count (1) + packet id (4).
const int ResetSize = 16;

} // namespace

ServerResetProbe::ServerResetProbe(QObject *parent)
    : QObject(parent)
{ }

QByteArray ServerResetProbe::clientReset()
{
    QByteArray packet(ResetSize, '\0');
    qToBigEndian<quint16>(ResetSize - 2, packet.data());
    packet[2] = char(ClientResetV2 << 3);
    const quint64 session = QRandomGenerator::global()->generate64();
    qToBigEndian<quint64>(session, packet.data() + 3);
    return packet;
}

ProbeResult ServerResetProbe::readAnswer(const QByteArray &answer)
{
    if (answer.size() < 3)
        return ProbeResult::NotRun;
    const quint16 length = qFromBigEndian<quint16>(answer.constData());
    const int opcode = (quint8(answer.at(2)) >> 3) & 0x1f;
    // A server's reset carries at least its session id, the ack of ours and a packet id.
    if (opcode == ServerResetV2 && length >= 14 && length <= 1600)
        return ProbeResult::Answered;
    return ProbeResult::Garbage;
}

void ServerResetProbe::start(const QString &host, quint16 port, int limitMs,
                             const QNetworkProxy &proxy)
{
    m_socket = new QTcpSocket(this);
    m_socket->setProxy(proxy);
    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this,
            [this] { finish(m_connected ? ProbeResult::Silent : ProbeResult::TimedOut); });
    connect(m_socket, &QTcpSocket::connected, this, [this] {
        m_connected = true;
        m_socket->write(clientReset());
    });
    connect(m_socket, &QTcpSocket::readyRead, this, [this] {
        m_answer += m_socket->readAll();
        const ProbeResult result = readAnswer(m_answer);
        if (result != ProbeResult::NotRun)
            finish(result);
    });
    connect(m_socket, &QAbstractSocket::errorOccurred, this,
            [this, host, port](QAbstractSocket::SocketError error) {
                switch (error) {
                case QAbstractSocket::ProxyConnectionRefusedError:
                    // The mirror tool reports listening a moment before it does; the
                    // probe's bound still holds.
                    QTimer::singleShot(100, this, [this, host, port] {
                        if (!m_done)
                            m_socket->connectToHost(host, port);
                    });
                    break;
                case QAbstractSocket::ConnectionRefusedError:
                    finish(ProbeResult::Refused);
                    break;
                case QAbstractSocket::HostNotFoundError:
                    finish(ProbeResult::Unresolved);
                    break;
                case QAbstractSocket::NetworkError:
                    finish(m_connected ? ProbeResult::Garbage : ProbeResult::Unreachable);
                    break;
                case QAbstractSocket::RemoteHostClosedError:
                    // Closed without the server's answer: not an OpenVPN server there.
                    finish(ProbeResult::Garbage);
                    break;
                case QAbstractSocket::SocketTimeoutError:
                    finish(ProbeResult::TimedOut);
                    break;
                default:
                    finish(m_connected ? ProbeResult::Garbage : ProbeResult::Unreachable);
                    break;
                }
            });
    m_timer->start(limitMs);
    m_socket->connectToHost(host, port);
}

void ServerResetProbe::finish(ProbeResult result)
{
    if (m_done)
        return;
    m_done = true;
    m_timer->stop();
    m_socket->abort();
    emit done(result);
}
