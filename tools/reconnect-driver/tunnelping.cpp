// Sends an ICMP echo request to ADDRESS every 0.25 s, or every MILLISECONDS (a raw socket:
// root), and prints each answer as "[SECONDS.MICROSECONDS] answer from ADDRESS seq N", the time
// since the epoch, until it is ended. Errors of a send (no route while the link is away) are
// printed and the sends go on. The network test runs it where no ping is installed, and with a
// short interval as the steady traffic of a user whose packets must never leave outside the
// tunnel.
//
// Usage: kestrune-tunnel-ping ADDRESS [MILLISECONDS]
#include <arpa/inet.h>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <netinet/in.h>
#include <netinet/ip.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <time.h>
#include <unistd.h>

namespace {

std::uint16_t checksum(const unsigned char *data, std::size_t size)
{
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        sum += std::uint32_t(data[i] << 8 | data[i + 1]);
    if (size % 2)
        sum += std::uint32_t(data[size - 1] << 8);
    while (sum >> 16)
        sum = (sum & 0xffff) + (sum >> 16);
    return std::uint16_t(~sum);
}

long long nowMs()
{
    timespec ts {};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000LL + ts.tv_nsec / 1000000;
}

} // namespace

int main(int argc, char **argv)
{
    sockaddr_in target {};
    target.sin_family = AF_INET;
    const long interval = argc == 3 ? std::strtol(argv[2], nullptr, 10) : 250;
    if (argc < 2 || argc > 3 || inet_pton(AF_INET, argv[1], &target.sin_addr) != 1 || interval < 10
        || interval > 10000) {
        std::fprintf(stderr, "usage: kestrune-tunnel-ping ADDRESS [MILLISECONDS]\n");
        return 2;
    }
    const int fd = socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
    if (fd < 0) {
        std::perror("socket");
        return 1;
    }
    const std::uint16_t id = std::uint16_t(getpid());
    std::uint16_t seq = 0;
    long long nextSend = nowMs();
    for (;;) {
        if (nowMs() >= nextSend) {
            unsigned char packet[16] {};
            packet[0] = ICMP_ECHO;
            packet[4] = id >> 8;
            packet[5] = id & 0xff;
            ++seq;
            packet[6] = seq >> 8;
            packet[7] = seq & 0xff;
            const std::uint16_t sum = checksum(packet, sizeof packet);
            packet[2] = sum >> 8;
            packet[3] = sum & 0xff;
            if (sendto(fd, packet, sizeof packet, 0, reinterpret_cast<sockaddr *>(&target),
                       sizeof target)
                < 0)
                std::printf("send seq %u: %s\n", unsigned(seq), std::strerror(errno));
            std::fflush(stdout);
            nextSend += interval;
        }
        pollfd p {fd, POLLIN, 0};
        const long long wait = nextSend - nowMs();
        if (poll(&p, 1, int(wait > 0 ? wait : 0)) <= 0)
            continue;
        unsigned char reply[1500];
        sockaddr_in from {};
        socklen_t fromSize = sizeof from;
        const ssize_t got
            = recvfrom(fd, reply, sizeof reply, 0, reinterpret_cast<sockaddr *>(&from), &fromSize);
        if (got < 20)
            continue;
        const std::size_t header = std::size_t(reply[0] & 0x0f) * 4;
        if (std::size_t(got) < header + 8 || from.sin_addr.s_addr != target.sin_addr.s_addr)
            continue;
        const unsigned char *icmp = reply + header;
        if (icmp[0] != ICMP_ECHOREPLY || (icmp[4] << 8 | icmp[5]) != id)
            continue;
        timeval tv {};
        gettimeofday(&tv, nullptr);
        std::printf("[%lld.%06ld] answer from %s seq %u\n", static_cast<long long>(tv.tv_sec),
                    static_cast<long>(tv.tv_usec), argv[1], unsigned(icmp[6] << 8 | icmp[7]));
        std::fflush(stdout);
    }
}
