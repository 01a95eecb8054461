// kestrune-demo-service PORT [--country NAME] [--https CERT KEY] [--lifetime SECONDS]
//
// Serves the service's REST API on 127.0.0.1:PORT with a demo account: subscriptions of
// every kind and state, servers with free ones and same-city groups, a double map, the
// address check, OpenVPN configurations pointing at 127.0.0.1 and a mirror tool
// configuration. Point the client at it through the emergency address in settings.ini
// ("EmergencyAddress=http://127.0.0.1:PORT", "EmergencyAddressUseByDef=true").
// It runs until interrupted (Ctrl+C, SIGTERM) or until the lifetime has passed.
#include "mockservice/mockservice.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>

#include <QString>
#include <QStringList>

namespace {

std::atomic<bool> interrupted {false};

extern "C" void onSignal(int)
{
    interrupted = true;
}

int usage()
{
    std::fprintf(stderr,
                 "usage: kestrune-demo-service PORT [--country NAME] [--https CERT KEY] "
                 "[--lifetime SECONDS]\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (args.isEmpty())
        return usage();
    bool ok = false;
    const uint port = args.takeFirst().toUInt(&ok);
    if (!ok || port == 0 || port > 65535)
        return usage();

    QString country = QStringLiteral("Netherlands");
    QString certificate;
    QString key;
    int lifetime = 0;
    while (!args.isEmpty()) {
        const QString option = args.takeFirst();
        if (option == QLatin1String("--country") && !args.isEmpty()) {
            country = args.takeFirst();
        } else if (option == QLatin1String("--https") && args.size() >= 2) {
            certificate = args.takeFirst();
            key = args.takeFirst();
        } else if (option == QLatin1String("--lifetime") && !args.isEmpty()) {
            lifetime = args.takeFirst().toInt(&ok);
            if (!ok || lifetime < 0)
                return usage();
        } else {
            return usage();
        }
    }

    MockService service;
    service.loadDemoData();
    service.setEchoCountry(country);
    if (!service.start(quint16(port), certificate, key)) {
        std::fprintf(stderr, "cannot listen on 127.0.0.1:%u\n", port);
        return 1;
    }
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);

    std::printf("Kestrune demo service on %s\n", qPrintable(service.baseUrl()));
    std::printf("  login:    %s\n  password: %s\n", qPrintable(service.login()),
                qPrintable(service.password()));
    std::printf("  address check reports the country \"%s\"\n", qPrintable(country));
    std::fflush(stdout);

    const auto start = std::chrono::steady_clock::now();
    while (!interrupted) {
        if (lifetime > 0
            && std::chrono::steady_clock::now() - start >= std::chrono::seconds(lifetime))
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    service.stop();
    std::printf("stopped after %d requests\n", service.requests().size());
    return 0;
}
