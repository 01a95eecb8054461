#include "helper/hostresolver.h"

#include <arpa/inet.h>
#include <cstring>
#include <memory>
#include <netdb.h>
#include <sys/socket.h>
#include <vector>

#include <QDeadlineTimer>
#include <QThread>

namespace {

struct Lookup
{
    QByteArray name;
    struct addrinfo hints;
    struct gaicb request;
};

// glibc's lookup threads may still touch a request after it reports its result, and one still
// running at the deadline keeps it until the process ends: the storage of every request is
// kept (reachable, never destroyed, not even by exit()).
std::vector<std::unique_ptr<Lookup>> &keptLookups()
{
    static auto *kept = new std::vector<std::unique_ptr<Lookup>>;
    return *kept;
}

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
    // Polled rather than waited for with gai_suspend(), whose wait list glibc's lookup threads
    // can still walk after it returned.
    while (started && pending() && !deadline.hasExpired())
        QThread::msleep(10);
    for (auto &lookup : lookups) {
        struct gaicb *request = &lookup->request;
        int error = started ? ::gai_error(request) : EAI_SYSTEM;
        if (error == EAI_INPROGRESS) {
            const int cancelled = ::gai_cancel(request);
            if (cancelled == EAI_NOTCANCELED) {
                result.unresolved << QString::fromLatin1(lookup->name);
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
    for (auto &lookup : lookups)
        keptLookups().push_back(std::move(lookup));
    return result;
}
