#include "standin.h"

#include <csignal>
#include <unistd.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QHostAddress>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSocketNotifier>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTextStream>
#include <QTimer>

namespace {

int g_sigtermPipe[2] = {-1, -1};

void sigtermHandler(int)
{
    const char byte = 1;
    const ssize_t ignored = ::write(g_sigtermPipe[1], &byte, 1);
    (void)ignored;
}

QByteArray now()
{
    return QByteArray::number(QDateTime::currentSecsSinceEpoch());
}

QByteArray stateFields(const QString &state, const QString &description)
{
    const bool up = state == QLatin1String("CONNECTED") || state == QLatin1String("ADD_ROUTES")
        || state == QLatin1String("ASSIGN_IP");
    return now() + ',' + state.toLatin1() + ',' + description.toLatin1() + ','
        + (up ? QByteArray("10.8.0.6") : QByteArray()) + ",198.51.100.7,1194,,";
}

} // namespace

Standin::Standin(const Script &script, const QString &logPath, QObject *parent)
    : QObject(parent)
    , m_script(script)
{
    if (!logPath.isEmpty()) {
        m_log = new QFile(logPath, this);
        m_log->open(QIODevice::WriteOnly | QIODevice::Truncate);
    }
    m_stepTimer = new QTimer(this);
    m_stepTimer->setSingleShot(true);
    connect(m_stepTimer, &QTimer::timeout, this, &Standin::advance);
    m_byteTimer = new QTimer(this);
    m_byteTimer->setInterval(1000);
    connect(m_byteTimer, &QTimer::timeout, this, &Standin::sendByteCounts);
    m_plan = QStringList {QStringLiteral("CONNECTING"), QStringLiteral("WAIT"),
                          QStringLiteral("AUTH"),       QStringLiteral("GET_CONFIG"),
                          QStringLiteral("ASSIGN_IP"),  QStringLiteral("ADD_ROUTES"),
                          QStringLiteral("CONNECTED")};
}

Standin::Script Standin::readScript(const QStringList &paths)
{
    Script script;
    for (const QString &path : paths)
        readScript(path, &script);
    return script;
}

void Standin::readScript(const QString &path, Script *into)
{
    Script &script = *into;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    while (!file.atEnd()) {
        const QList<QByteArray> words = file.readLine().simplified().split(' ');
        if (words.size() < 2 || words.at(0) != "#standin")
            continue;
        const QByteArray word = words.at(1);
        const int value = words.size() > 2 ? words.at(2).toInt() : 0;
        if (word == "fatal")
            script.fatal = true;
        else if (word == "error-output")
            script.errorOutput = true;
        else if (word == "exit-while-connecting")
            script.exitWhileConnecting = true;
        else if (word == "no-management")
            script.noManagement = true;
        else if (word == "hold-connecting")
            script.holdConnecting = true;
        else if (word == "reconnect")
            script.reconnect = true;
        else if (word == "ignore-sigterm")
            script.ignoreSigterm = true;
        else if (word == "big-bytecount")
            script.bigByteCount = true;
        else if (word == "history-only")
            script.historyOnly = true;
        else if (word == "garbage")
            script.garbage = true;
        else if (word == "drop-tunnel")
            script.dropTunnelMs = value;
        else if (word == "connect-delay")
            script.connectDelayMs = value;
        else if (word == "exit-delay")
            script.exitDelayMs = value;
    }
}

void Standin::out(const QString &text)
{
    const QByteArray line = QDateTime::currentDateTime().toString(Qt::ISODate).toLatin1() + ' '
        + text.toLatin1() + '\n';
    if (m_log) {
        m_log->write(line);
        m_log->flush();
    } else {
        QFile stdoutFile;
        stdoutFile.open(stdout, QIODevice::WriteOnly);
        stdoutFile.write(line);
        stdoutFile.flush();
    }
}

namespace {

void flushSocket(QIODevice *socket)
{
    if (auto *tcp = qobject_cast<QTcpSocket *>(socket))
        tcp->flush();
    else if (auto *local = qobject_cast<QLocalSocket *>(socket))
        local->flush();
}

} // namespace

bool Standin::listen(const QString &host, quint16 port, const QString &passwordFile)
{
    QFile pw(passwordFile);
    if (!pw.open(QIODevice::ReadOnly)) {
        out(QStringLiteral("Options error: cannot read management password file"));
        return false;
    }
    m_password = pw.readLine().trimmed();
    if (m_script.noManagement)
        return true;
    if (port == 0) { // "--management PATH unix": a Unix socket
        m_localServer = new QLocalServer(this);
        connect(m_localServer, &QLocalServer::newConnection, this, &Standin::onNewConnection);
        QLocalServer::removeServer(host);
        if (!m_localServer->listen(host)) {
            out(QStringLiteral("MANAGEMENT: Socket bind failed on local address: ")
                + m_localServer->errorString());
            return false;
        }
        out(QStringLiteral("MANAGEMENT: unix domain socket listening on %1").arg(host));
        return true;
    }
    QHostAddress address(host);
    bool mapped = false;
    const quint32 v4 = address.toIPv4Address(&mapped);
    if (mapped)
        address = QHostAddress(v4);
    m_server = new QTcpServer(this);
    connect(m_server, &QTcpServer::newConnection, this, &Standin::onNewConnection);
    if (!m_server->listen(address, port)) {
        out(QStringLiteral("MANAGEMENT: Socket bind failed on local address: ")
            + m_server->errorString());
        return false;
    }
    out(QStringLiteral("MANAGEMENT: TCP Socket listening on [AF_INET]%1:%2").arg(host).arg(port));
    return true;
}

void Standin::installSigtermHandler()
{
    if (::pipe(g_sigtermPipe) != 0)
        return;
    m_sigtermNotifier = new QSocketNotifier(g_sigtermPipe[0], QSocketNotifier::Read, this);
    connect(m_sigtermNotifier, &QSocketNotifier::activated, this, [this]() {
        char byte = 0;
        const ssize_t ignored = ::read(g_sigtermPipe[0], &byte, 1);
        (void)ignored;
        onSigterm();
    });
    struct sigaction action = {};
    action.sa_handler = sigtermHandler;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

void Standin::run()
{
    out(QStringLiteral("OpenVPN 2.4.9 x86_64-pc-linux-gnu [SSL (OpenSSL)] [LZO] [LZ4] [EPOLL]"));
    if (m_script.errorOutput)
        out(QStringLiteral("Options ERROR: unrecognised option in configuration"));
    m_stepTimer->start(m_script.connectDelayMs);
}

void Standin::advance()
{
    if (m_step >= m_plan.size())
        return;
    const QString state = m_plan.at(m_step++);
    enterState(state, state == QLatin1String("CONNECTED") ? QStringLiteral("SUCCESS") : QString());

    if (state == QLatin1String("CONNECTING")) {
        if (m_script.exitWhileConnecting) {
            out(QStringLiteral("Connection attempt failed, exiting"));
            exitNow(1);
            return;
        }
        if (m_script.fatal) {
            for (QIODevice *socket : clients(false))
                send(socket, ">FATAL:Cannot open TUN/TAP dev ksvpn_tun\r\n");
            return;
        }
    }
    if (state == QLatin1String("WAIT") && m_script.holdConnecting)
        return;
    if (state == QLatin1String("CONNECTED")) {
        m_connected = true;
        if (m_script.reconnect && !m_reconnected) {
            m_reconnected = true;
            QTimer::singleShot(qMax(50, m_script.connectDelayMs), this, [this]() {
                m_connected = false;
                enterState(QStringLiteral("RECONNECTING"), QStringLiteral("ping-restart"));
                m_step = 1;
                m_stepTimer->start(m_script.connectDelayMs);
            });
        }
        if (m_script.dropTunnelMs >= 0) {
            QTimer::singleShot(m_script.dropTunnelMs, this, [this]() {
                broadcastState(">LOG:" + now()
                               + ",W,Connection reset, restarting [0] DISCONNECTED");
            });
        }
        if (m_script.garbage) {
            QTimer::singleShot(50, this, [this]() {
                QByteArray junk(1024 * 1024, 'x');
                junk += "\r\n";
                for (int i = 0; i < 4096; ++i)
                    junk.append(char(i * 37 % 256));
                junk += "\r\n>BYTECOUNT:77,88\r\n";
                for (QIODevice *socket : clients(false))
                    send(socket, junk);
            });
        }
        return;
    }
    m_stepTimer->start(m_script.connectDelayMs);
}

void Standin::enterState(const QString &state, const QString &description)
{
    const QByteArray fields = stateFields(state, description);
    m_history.append(fields);
    out(QStringLiteral("STATE ") + state);
    if (!m_script.historyOnly)
        broadcastState(">STATE:" + fields);
}

void Standin::broadcastState(const QByteArray &line)
{
    for (QIODevice *socket : clients(true))
        send(socket, line + "\r\n");
}

void Standin::onNewConnection()
{
    for (;;) {
        QIODevice *socket = m_server ? static_cast<QIODevice *>(m_server->nextPendingConnection())
                                     : m_localServer->nextPendingConnection();
        if (!socket)
            break;
        m_clients.insert(socket, Client());
        connect(socket, &QIODevice::readyRead, this, [this, socket]() { onReadyRead(socket); });
        const auto gone = [this, socket]() {
            m_clients.remove(socket);
            socket->deleteLater();
        };
        if (auto *tcp = qobject_cast<QTcpSocket *>(socket))
            connect(tcp, &QTcpSocket::disconnected, this, gone);
        else
            connect(static_cast<QLocalSocket *>(socket), &QLocalSocket::disconnected, this, gone);
        out(QStringLiteral("MANAGEMENT: Client connected from [AF_INET]127.0.0.1"));
        send(socket, "ENTER PASSWORD:");
    }
}

void Standin::onReadyRead(QIODevice *socket)
{
    if (!m_clients.contains(socket))
        return;
    m_clients[socket].buffer += socket->readAll();
    for (;;) {
        if (!m_clients.contains(socket))
            return;
        QByteArray &buffer = m_clients[socket].buffer;
        const int nl = buffer.indexOf('\n');
        if (nl < 0)
            return;
        QByteArray line = buffer.left(nl);
        buffer.remove(0, nl + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        command(socket, line);
    }
}

void Standin::command(QIODevice *socket, const QByteArray &line)
{
    Client &client = m_clients[socket];
    if (!client.authorised) {
        if (line == m_password) {
            client.authorised = true;
            send(socket,
                 "SUCCESS: password is correct\r\n>INFO:OpenVPN Management Interface Version 1 "
                 "-- type 'help' for more info\r\n");
        } else {
            const int tries = ++client.passwordTries;
            send(socket, "ERROR: bad password\r\n");
            if (tries >= 3) {
                socket->close();
                return;
            }
            send(socket, "ENTER PASSWORD:");
        }
        return;
    }
    const QList<QByteArray> words = line.simplified().split(' ');
    const QByteArray verb = words.value(0);
    if (verb == "state") {
        for (int i = 1; i < words.size() && m_clients.contains(socket); ++i) {
            if (words.at(i) == "on") {
                m_clients[socket].stateOn = true;
                send(socket, "SUCCESS: real-time state notification set to ON\r\n");
            } else if (words.at(i) == "off") {
                m_clients[socket].stateOn = false;
                send(socket, "SUCCESS: real-time state notification set to OFF\r\n");
            } else if (words.at(i) == "all") {
                QByteArray history;
                for (const QByteArray &entry : qAsConst(m_history))
                    history += entry + "\r\n";
                send(socket, history + "END\r\n");
            }
        }
        if (words.size() == 1)
            send(socket,
                 (m_history.isEmpty() ? QByteArray() : m_history.last() + "\r\n") + "END\r\n");
    } else if (verb == "bytecount") {
        const int seconds = words.value(1).toInt();
        client.byteCountSeconds = seconds;
        send(socket, "SUCCESS: bytecount interval changed\r\n");
        if (seconds > 0 && !m_byteTimer->isActive())
            m_byteTimer->start();
    } else if (verb == "signal" && words.value(1) == "SIGTERM") {
        if (m_script.ignoreSigterm)
            return;
        send(socket, "SUCCESS: signal SIGTERM thrown\r\n");
        onSigterm();
    } else if (verb == "quit" || verb == "exit") {
        socket->close();
    } else if (verb == "help") {
        send(socket, "Management Interface for OpenVPN stand-in\r\nEND\r\n");
    } else {
        send(socket, "ERROR: unknown command, enter 'help' for more options\r\n");
    }
}

QList<QIODevice *> Standin::clients(bool withStates) const
{
    // A copy: writing to a socket whose peer has gone may remove it from the table.
    QList<QIODevice *> result;
    for (auto it = m_clients.cbegin(); it != m_clients.cend(); ++it) {
        if (it.value().authorised && (!withStates || it.value().stateOn))
            result.append(it.key());
    }
    return result;
}

void Standin::send(QIODevice *socket, const QByteArray &text)
{
    if (!m_clients.contains(socket))
        return;
    socket->write(text);
    flushSocket(socket);
}

void Standin::sendByteCounts()
{
    m_bytesIn += 1500;
    m_bytesOut += 700;
    for (QIODevice *socket : clients(false)) {
        if (m_clients.value(socket).byteCountSeconds <= 0)
            continue;
        if (m_script.bigByteCount)
            send(socket, ">BYTECOUNT:3000000000," + QByteArray::number(m_bytesOut) + "\r\n");
        send(socket,
             ">BYTECOUNT:" + QByteArray::number(m_bytesIn) + ',' + QByteArray::number(m_bytesOut)
                 + "\r\n");
    }
}

void Standin::onSigterm()
{
    if (m_script.ignoreSigterm)
        return;
    out(QStringLiteral("SIGTERM[hard,] received, process exiting"));
    enterState(QStringLiteral("EXITING"), QStringLiteral("SIGTERM"));
    // A real OpenVPN takes a while to take its tunnel down after it said it is exiting.
    if (m_script.exitDelayMs > 0)
        QTimer::singleShot(m_script.exitDelayMs, this, [this]() { exitNow(0); });
    else
        exitNow(0);
}

void Standin::exitNow(int code)
{
    // Closing a socket removes it from the client table, so walk a copy.
    const QList<QIODevice *> sockets = m_clients.keys();
    for (QIODevice *socket : sockets) {
        flushSocket(socket);
        socket->waitForBytesWritten(1000);
        socket->close();
    }
    QCoreApplication::exit(code);
}
