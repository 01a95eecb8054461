#include "helper/hostresolver.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

#include <cstring>
#include <memory>
#include <vector>

#include <QDeadlineTimer>

namespace {

struct Lookup
{
    QByteArray name;
    struct addrinfo hints;
    struct gaicb request;
};

// Lookups still running at the deadline keep pointers into their storage until the process
// ends, so it is never freed while they may run.
std::vector<std::unique_ptr<Lookup>> stillRunning;

QString addressText(const struct sockaddr *address)
{
    char text[INET6_ADDRSTRLEN] = {};
    if (address->sa_family == AF_INET)
        ::inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in *>(address)->sin_addr, text,
                    sizeof text);
    else if (address->sa_family == AF_INET6)
        ::inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6 *>(address)->sin6_addr, text,
                    sizeof text);
    return QString::fromLatin1(text);
}

} // namespace

HostResolver::Result HostResolver::resolve(const QStringList &names, int timeoutMs)
{
    Result result;
    if (names.isEmpty())
        return result;
    std::vector<std::unique_ptr<Lookup>> lookups;
    std::vector<struct gaicb *> requests;
    for (const QString &name : names) {
        auto lookup = std::make_unique<Lookup>();
        lookup->name = name.toLatin1();
        std::memset(&lookup->hints, 0, sizeof lookup->hints);
        lookup->hints.ai_family = AF_UNSPEC;
        lookup->hints.ai_socktype = SOCK_STREAM;
        std::memset(&lookup->request, 0, sizeof lookup->request);
        lookup->request.ar_name = lookup->name.constData();
        lookup->request.ar_request = &lookup->hints;
        requests.push_back(&lookup->request);
        lookups.push_back(std::move(lookup));
    }
    const bool started
        = ::getaddrinfo_a(GAI_NOWAIT, requests.data(), int(requests.size()), nullptr) == 0;
    const QDeadlineTimer deadline(timeoutMs);
    const auto pending = [&requests]() {
        for (struct gaicb *request : requests) {
            if (::gai_error(request) == EAI_INPROGRESS)
                return true;
        }
        return false;
    };
    while (started && pending() && !deadline.hasExpired()) {
        const qint64 left = deadline.remainingTime();
        const struct timespec wait = {time_t(left / 1000), long(left % 1000) * 1000000L};
        ::gai_suspend(requests.data(), int(requests.size()), &wait);
    }
    for (auto &lookup : lookups) {
        struct gaicb *request = &lookup->request;
        int error = started ? ::gai_error(request) : EAI_SYSTEM;
        if (error == EAI_INPROGRESS) {
            const int cancelled = ::gai_cancel(request);
            if (cancelled == EAI_NOTCANCELED) {
                result.unresolved << QString::fromLatin1(lookup->name);
                stillRunning.push_back(std::move(lookup));
                continue;
            }
            error = cancelled == EAI_ALLDONE ? ::gai_error(request) : EAI_CANCELED;
        }
        QStringList found;
        for (const struct addrinfo *a = request->ar_result; error == 0 && a; a = a->ai_next) {
            const QString text = addressText(a->ai_addr);
            if (!text.isEmpty())
                found << text;
        }
        if (request->ar_result)
            ::freeaddrinfo(request->ar_result);
        if (found.isEmpty())
            result.unresolved << QString::fromLatin1(lookup->name);
        result.addresses << found;
    }
    return result;
}
