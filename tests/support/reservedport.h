#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QtGlobal>

// A loopback port no other suite can take while this lives: a socket bound to 127.0.0.1:0 is
// kept open. Refusing: nothing listens, a connection is refused at once. Silent: it listens
// and never accepts, so a connection hangs. release() hands the port to a program.
class ReservedPort
{
public:
    enum Mode { Refusing, Silent };
    explicit ReservedPort(Mode mode = Refusing)
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof(address);
        if (m_fd < 0 || ::bind(m_fd, reinterpret_cast<sockaddr *>(&address), length) != 0
            || ::getsockname(m_fd, reinterpret_cast<sockaddr *>(&address), &length) != 0
            || (mode == Silent && ::listen(m_fd, 16) != 0))
            qFatal("no loopback port could be reserved");
        m_port = ntohs(address.sin_port);
    }
    ~ReservedPort() { release(); }
    ReservedPort(const ReservedPort &) = delete;
    ReservedPort &operator=(const ReservedPort &) = delete;

    quint16 port() const { return m_port; }
    void release()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd = -1;
    quint16 m_port = 0;
};
