#include "mockservice.h"

#include <chrono>
#include <condition_variable>
#include <httplib.h>
#include <mutex>
#include <thread>

#include <QDateTime>
#include <QHash>
#include <QJsonDocument>
#include <QUrlQuery>

namespace {

using Clock = std::chrono::steady_clock;

// A silent reply never waits longer than this, so a forgotten stop cannot hang a test run.
constexpr auto silentBound = std::chrono::seconds(60);

const QByteArray formType = QByteArrayLiteral("application/x-www-form-urlencoded");

QByteArray toBytes(const std::string &text)
{
    return QByteArray(text.data(), int(text.size()));
}

std::string toStd(const QByteArray &bytes)
{
    return std::string(bytes.constData(), size_t(bytes.size()));
}

QByteArray json(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

struct FaultRule
{
    MockService::Fault fault = MockService::Fault::None;
    int delayMs = 0;
    int remaining = -1;
};

QJsonObject geo(const QString &iso, const QString &countryEn, const QString &countryRu,
                const QString &cityEn, const QString &cityRu)
{
    return QJsonObject {{"def",
                         QJsonObject {{"countryIso", iso},
                                      {"countryNameEn", countryEn},
                                      {"countryNameRu", countryRu},
                                      {"cityNameEn", cityEn},
                                      {"cityNameRu", cityRu}}}};
}

} // namespace

struct MockService::Private
{
    mutable std::mutex mutex;
    std::condition_variable released;
    bool stopping = false;
    quint64 releaseGeneration = 0;

    std::unique_ptr<httplib::Server> server;
    std::thread thread;
    quint16 port = 0;
    bool https = false;

    QString login = QStringLiteral("demo@kestrune.test");
    QString password = QStringLiteral("demo-pass");
    int userId = 1001;
    QString email = QStringLiteral("demo@kestrune.test");
    QString userName = QStringLiteral("demo");
    QString requestKey = QStringLiteral("rk-5f1c2a");
    QString authToken = QStringLiteral("tok-93be77d0");

    QJsonArray subscriptions;
    QHash<int, QJsonArray> servers;
    QJsonObject doubleMap;
    QByteArray echoReply = "IP: 127.0.0.1\nCountry code: NL\nNetherlands\n";
    QString originalAddress = QStringLiteral("198.51.100.7");
    QString tunnelAddress = QStringLiteral("203.0.113.9");
    bool connected = false;
    bool connectAfterConfig = false;
    bool configServed = false;
    bool tunnelWindow = false;
    Clock::time_point tunnelWindowEnd;
    QString openVpnHost = QStringLiteral("127.0.0.1");
    quint16 openVpnPort = 1194;
    QByteArray openVpnExtraLines;
    bool openVpnPersistTun = true;
    QJsonObject mirrorConfig {{"server", "127.0.0.1"},
                              {"server_port", 8388},
                              {"local_address", "127.0.0.1"},
                              {"local_port", 1080},
                              {"password", "mirror-secret"},
                              {"method", "chacha20-ietf-poly1305"},
                              {"timeout", 60}};
    QByteArray expectedApiHost;

    QHash<QByteArray, FaultRule> faults;
    QList<Request> requests;
    QStringList violations;

    void handle(const httplib::Request &req, httplib::Response &res);
    Request record(const httplib::Request &req);
    void checkCommonHeaders(const Request &request);
    bool authorized(const Request &request);
    FaultRule takeFault(const QByteArray &path);
    bool applyFault(const FaultRule &rule, httplib::Response &res);
    void waitSilently();
    void serve(const Request &request, httplib::Response &res);
};

QByteArray MockService::Request::header(const QByteArray &name) const
{
    const QByteArray lower = name.toLower();
    for (const auto &pair : headers) {
        if (pair.first == lower)
            return pair.second;
    }
    return QByteArray();
}

bool MockService::Request::hasHeader(const QByteArray &name) const
{
    const QByteArray lower = name.toLower();
    for (const auto &pair : headers) {
        if (pair.first == lower)
            return true;
    }
    return false;
}

MockService::MockService()
    : d(new Private)
{ }

MockService::~MockService()
{
    stop();
}

bool MockService::start(quint16 port, const QString &certificateFile, const QString &keyFile)
{
    stop();
    {
        std::lock_guard<std::mutex> lock(d->mutex);
        d->stopping = false;
    }
    if (!certificateFile.isEmpty()) {
        d->server.reset(new httplib::SSLServer(certificateFile.toLocal8Bit().constData(),
                                               keyFile.toLocal8Bit().constData()));
        d->https = true;
    } else {
        d->server.reset(new httplib::Server);
        d->https = false;
    }
    if (!d->server->is_valid()) {
        d->server.reset();
        return false;
    }
    const auto handler
        = [this](const httplib::Request &req, httplib::Response &res) { d->handle(req, res); };
    d->server->Get(".*", handler);
    d->server->Post(".*", handler);
    d->server->set_keep_alive_max_count(1);

    int bound = -1;
    if (port == 0) {
        bound = d->server->bind_to_any_port("127.0.0.1");
    } else if (d->server->bind_to_port("127.0.0.1", port)) {
        bound = port;
    }
    if (bound <= 0) {
        d->server.reset();
        return false;
    }
    d->port = quint16(bound);
    httplib::Server *server = d->server.get();
    d->thread = std::thread([server]() { server->listen_after_bind(); });
    // stop() only reaches a server whose loop runs, so start() returns once it does.
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (!server->is_running() && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (!server->is_running()) {
        stop();
        return false;
    }
    return true;
}

void MockService::stop()
{
    if (!d->server)
        return;
    {
        std::lock_guard<std::mutex> lock(d->mutex);
        d->stopping = true;
    }
    d->released.notify_all();
    d->server->stop();
    if (d->thread.joinable())
        d->thread.join();
    d->server.reset();
}

quint16 MockService::port() const
{
    return d->port;
}

QString MockService::baseUrl() const
{
    return QStringLiteral("%1://127.0.0.1:%2")
        .arg(d->https ? QStringLiteral("https") : QStringLiteral("http"))
        .arg(d->port);
}

void MockService::setAccount(const QString &login, const QString &password, int userId,
                             const QString &email, const QString &userName)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->login = login;
    d->password = password;
    d->userId = userId;
    d->email = email;
    d->userName = userName;
}

QString MockService::login() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->login;
}

QString MockService::password() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->password;
}

QString MockService::requestKey() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->requestKey;
}

QString MockService::authToken() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->authToken;
}

int MockService::userId() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->userId;
}

void MockService::setSubscriptions(const QJsonArray &data)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->subscriptions = data;
}

void MockService::setServers(int packageId, const QJsonArray &data)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->servers.insert(packageId, data);
}

void MockService::setDoubleMap(const QJsonObject &map)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->doubleMap = map;
}

void MockService::setEchoReply(const QByteArray &text)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->echoReply = text;
}

void MockService::setEchoCountry(const QString &country)
{
    setEchoReply("IP: 127.0.0.1\nCountry code: --\n" + country.toLatin1() + "\n");
}

void MockService::setAddresses(const QString &original, const QString &tunnel)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->originalAddress = original;
    d->tunnelAddress = tunnel;
}

void MockService::setConnected(bool connected)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->connected = connected;
}

void MockService::setConnectAfterConfig(bool enabled)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->connectAfterConfig = enabled;
}

void MockService::setOpenVpnRemote(const QString &host, quint16 port)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->openVpnHost = host;
    d->openVpnPort = port;
}

void MockService::setOpenVpnExtraLines(const QByteArray &lines)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->openVpnExtraLines = lines;
}

void MockService::setOpenVpnPersistTun(bool on)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->openVpnPersistTun = on;
}

void MockService::setMirrorConfig(const QJsonObject &config)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->mirrorConfig = config;
}

void MockService::setExpectedApiHost(const QByteArray &host)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->expectedApiHost = host;
}

void MockService::setFault(const QByteArray &path, Fault fault, int delayMs, int count)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->faults.insert(path, FaultRule {fault, delayMs, count});
}

void MockService::clearFaults()
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->faults.clear();
}

void MockService::releaseSilent()
{
    {
        std::lock_guard<std::mutex> lock(d->mutex);
        ++d->releaseGeneration;
    }
    d->released.notify_all();
}

QList<MockService::Request> MockService::requests() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->requests;
}

void MockService::clearRequests()
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->requests.clear();
    d->violations.clear();
}

QStringList MockService::violations() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->violations;
}

void MockService::loadDemoData()
{
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    const qint64 day = 86400;
    const auto sub = [](int id, int type, const QString &typeName, const QString &name, int status,
                        qint64 created, qint64 end) {
        return QJsonObject {{"id", id},
                            {"type", type},
                            {"typeName", typeName},
                            {"name", name},
                            {"status", status},
                            {"timeCreated", double(created)},
                            {"timeEnd", double(end)}};
    };
    setSubscriptions(QJsonArray {
        sub(11, 1, "Premium", "Premium (demo)", 1, now - 20 * day, now + 31 * day),
        sub(12, 2, "Double", "", 1, now - 5 * day, now + 2 * day + 3600),
        sub(13, 3, "Onion", "Onion (demo)", 1, now - 5 * day, now + 112 * day),
        sub(14, 4, "Free", "", 1, now - 5 * day, now + 5 * 3600),
        sub(15, 1, "Premium", "Paused premium", 2, now - 50 * day, now + 10 * day),
        sub(16, 2, "Double", "Expired double", 3, now - 90 * day, now - day),
        sub(17, 7, "Corporate", "Unsupported kind", 1, now - day, now + 60 * day),
    });

    const auto server = [](int id, const QString &name, bool isFree, const QJsonObject &where) {
        return QJsonObject {
            {"id", id}, {"ip", "127.0.0.1"}, {"name", name}, {"isFree", isFree}, {"geo", where}};
    };
    const QJsonObject amsterdam = geo("NL", "Netherlands", "Нидерланды", "Amsterdam", "Амстердам");
    const QJsonObject frankfurt = geo("DE", "Germany", "Германия", "Frankfurt", "Франкфурт");
    const QJsonObject london = geo("GB", "United Kingdom", "Великобритания", "London", "Лондон");
    const QJsonObject newYork = geo("US", "United States", "США", "New York", "Нью-Йорк");
    const QJsonObject tokyo = geo("JP", "Japan", "Япония", "Tokyo", "Токио");
    const QJsonObject singapore = geo("SG", "Singapore", "Сингапур", "Singapore", "Сингапур");
    const QJsonObject zurich = geo("CH", "Switzerland", "Швейцария", "Zurich", "Цюрих");
    const QJsonArray pool {
        server(101, "nl-ams-01", false, amsterdam),  server(102, "nl-ams-02", false, amsterdam),
        server(103, "nl-ams-free", true, amsterdam), server(104, "de-fra-01", false, frankfurt),
        server(105, "de-fra-02", false, frankfurt),  server(106, "gb-lon-01", false, london),
        server(107, "us-nyc-01", false, newYork),    server(108, "us-nyc-02", false, newYork),
        server(109, "jp-tyo-01", false, tokyo),      server(110, "sg-sin-free", true, singapore),
        server(111, "ch-zrh-01", false, zurich)};
    for (int id = 11; id <= 17; ++id)
        setServers(id, pool);

    // Entries with their exits; 999 is no server, and neither is the exit 998.
    setDoubleMap(QJsonObject {{"101", QJsonArray {104, 106, 111}},
                              {"104", QJsonArray {"101", 107, 998}},
                              {"106", QJsonArray {109, "102"}},
                              {"111", QJsonArray {101, 105}},
                              {"999", QJsonArray {101}}});
    setConnectAfterConfig(true);
}

MockService::Request MockService::Private::record(const httplib::Request &req)
{
    Request request;
    request.method = toBytes(req.method);
    request.path = toBytes(req.path);
    const auto mark = req.target.find('?');
    if (mark != std::string::npos)
        request.query = toBytes(req.target.substr(mark + 1));
    for (const auto &header : req.headers)
        request.headers.append({toBytes(header.first).toLower(), toBytes(header.second)});
    request.body = toBytes(req.body);
    return request;
}

void MockService::Private::checkCommonHeaders(const Request &request)
{
    const QByteArray where = request.method + ' ' + request.path + ": ";
    if (request.header("Content-Type") != formType)
        violations << where + "content type is \"" + request.header("Content-Type") + "\"";
    const QByteArray host = request.header("Host");
    const bool echo = request.path == "/api/checkrealip";
    if (echo) {
        if (!expectedApiHost.isEmpty() && host == expectedApiHost)
            violations << where + "the address check carries the API's Host";
    } else if (!expectedApiHost.isEmpty()) {
        if (host != expectedApiHost)
            violations << where + "Host is \"" + host + "\", expected \"" + expectedApiHost + "\"";
    } else if (!host.startsWith("127.0.0.1")) {
        violations << where + "Host is \"" + host + "\", expected the address itself";
    }
}

bool MockService::Private::authorized(const Request &request)
{
    const QByteArray where = request.method + ' ' + request.path + ": ";
    bool ok = true;
    if (request.header("X-Auth-Id") != QByteArray::number(userId)) {
        violations << where + "X-Auth-Id is \"" + request.header("X-Auth-Id") + "\"";
        ok = false;
    }
    if (request.header("X-Auth-Token") != authToken.toLatin1()) {
        violations << where + "X-Auth-Token does not match";
        ok = false;
    }
    return ok;
}

FaultRule MockService::Private::takeFault(const QByteArray &path)
{
    auto it = faults.find(path);
    if (it == faults.end() || it->fault == Fault::None)
        return FaultRule();
    FaultRule rule = *it;
    if (it->remaining > 0 && --it->remaining == 0)
        faults.erase(it);
    return rule;
}

void MockService::Private::waitSilently()
{
    std::unique_lock<std::mutex> lock(mutex);
    const quint64 generation = releaseGeneration;
    released.wait_for(lock, silentBound,
                      [&] { return stopping || releaseGeneration != generation; });
}

// True when the fault has produced the whole reply.
bool MockService::Private::applyFault(const FaultRule &rule, httplib::Response &res)
{
    switch (rule.fault) {
    case Fault::None:
        return false;
    case Fault::Delay: {
        std::unique_lock<std::mutex> lock(mutex);
        released.wait_for(lock, std::chrono::milliseconds(rule.delayMs),
                          [this] { return stopping; });
        return false;
    }
    case Fault::Silent:
        waitSilently();
        res.status = 503;
        return true;
    case Fault::Close:
        res.set_content_provider(64, "application/json",
                                 [](size_t, size_t, httplib::DataSink &) { return false; });
        return true;
    case Fault::NotFound:
        res.status = 404;
        return true;
    case Fault::ServerErrorJson:
        res.status = 500;
        res.set_content(toStd(json({{"result", false}, {"message", "internal error"}})),
                        "application/json");
        return true;
    case Fault::ServerErrorPlain:
        res.status = 500;
        return true;
    case Fault::Declined:
        res.set_content(toStd(json({{"result", false}, {"message", "declined"}})),
                        "application/json");
        return true;
    case Fault::InvalidJson:
        res.set_content("{\"result\": tru", "application/json");
        return true;
    case Fault::EmptyBody:
        res.set_content("", "application/json");
        return true;
    case Fault::TruncatedBody:
        res.set_content_provider(256, "application/json",
                                 [](size_t offset, size_t, httplib::DataSink &sink) {
                                     if (offset > 0)
                                         return false;
                                     static const char head[] = "{\"result\":true,\"data\":[";
                                     sink.write(head, sizeof(head) - 1);
                                     return true;
                                 });
        return true;
    }
    return false;
}

void MockService::Private::handle(const httplib::Request &req, httplib::Response &res)
{
    const Request request = record(req);
    FaultRule rule;
    {
        std::lock_guard<std::mutex> lock(mutex);
        requests.append(request);
        checkCommonHeaders(request);
        rule = takeFault(request.path);
    }
    if (applyFault(rule, res))
        return;
    std::lock_guard<std::mutex> lock(mutex);
    serve(request, res);
}

void MockService::Private::serve(const Request &request, httplib::Response &res)
{
    const QByteArray &path = request.path;
    const auto reply = [&res](const QJsonObject &object, int status = 200) {
        res.status = status;
        res.set_content(toStd(json(object)), "application/json");
    };
    const auto declined = [&reply](const QString &message, int status = 200) {
        reply({{"result", false}, {"message", message}}, status);
    };
    const bool get = request.method == "GET";

    if (path == "/api/checkrealip" && get) {
        res.set_content(toStd(echoReply), "text/plain");
        return;
    }
    if (path == "/v1/api/sign" && get) {
        reply({{"result", true}, {"key", requestKey}});
        return;
    }
    if (path == "/v1/user/auth") {
        if (request.method != "POST") {
            declined("method not allowed", 405);
            return;
        }
        if (request.header("X-Request-Key") != requestKey.toLatin1()) {
            violations << "POST /v1/user/auth: X-Request-Key is \""
                    + request.header("X-Request-Key") + "\"";
            declined("request key required", 403);
            return;
        }
        const QUrlQuery form(QString::fromUtf8(request.body));
        const QList<QPair<QString, QString>> items = form.queryItems(QUrl::FullyDecoded);
        if (items.size() != 2 || items.at(0).first != "login" || items.at(1).first != "password")
            violations << "POST /v1/user/auth: form is not login, password";
        // A form decoder reads '+' as a blank, as the service's own does.
        const auto formValue = [&request](const char *key) {
            for (const QByteArray &item : request.body.split('&')) {
                const int eq = item.indexOf('=');
                if (eq >= 0 && item.left(eq) == key) {
                    QByteArray value = item.mid(eq + 1);
                    value.replace('+', ' ');
                    return QString::fromUtf8(QByteArray::fromPercentEncoding(value));
                }
            }
            return QString();
        };
        if (formValue("login") != login || formValue("password") != password) {
            declined("wrong login or password", 401);
            return;
        }
        reply({{"result", true},
               {"token", authToken},
               {"user", QJsonObject {{"id", userId}, {"email", email}, {"username", userName}}}});
        return;
    }
    if (path == "/v1/api/info" && get) {
        // The reachability check carries no account; the address requests do.
        if (request.hasHeader("X-Auth-Token") && !authorized(request)) {
            declined("not authorized", 401);
            return;
        }
        // Without a tunnel of its own, the demo answers the checks that follow a served
        // configuration (the first one and its retries within a few seconds) as if the
        // tunnel were up.
        if (connectAfterConfig && configServed) {
            configServed = false;
            tunnelWindow = true;
            tunnelWindowEnd = Clock::now() + std::chrono::seconds(5);
        }
        const bool tunnel = connected || (tunnelWindow && Clock::now() < tunnelWindowEnd);
        reply({{"result", true},
               {"api", QJsonObject {{"ip", tunnel ? tunnelAddress : originalAddress}}}});
        return;
    }
    if (!path.startsWith("/v1/")) {
        res.status = 404;
        return;
    }
    if (!authorized(request)) {
        declined("not authorized", 401);
        return;
    }
    const QUrlQuery query(QString::fromUtf8(request.query));
    if (path == "/v1/package/list" && get) {
        reply({{"result", true}, {"data", subscriptions}});
        return;
    }
    if (path == "/v1/server/list" && get) {
        const int packageId = query.queryItemValue("idPackage").toInt();
        if (!servers.contains(packageId)) {
            declined("unknown package");
            return;
        }
        reply({{"result", true}, {"data", servers.value(packageId)}});
        return;
    }
    if (path == "/v1/server/double-map-in" && get) {
        reply({{"result", true}, {"map", doubleMap}});
        return;
    }
    if (path.startsWith("/v1/openvpn/config-") && path.endsWith("-complement") && get) {
        const QString proto = query.queryItemValue("proto");
        if (proto != "tcp" && proto != "udp") {
            declined("unknown protocol", 400);
            return;
        }
        const QByteArray kind = path.mid(19, path.size() - 19 - 11);
        QByteArray config;
        config += "# kind " + kind + ", " + request.query + "\n";
        config += "client\ndev tun\nproto " + proto.toLatin1() + "\n";
        config += "remote " + openVpnHost.toLatin1() + ' ' + QByteArray::number(openVpnPort) + "\n";
        config += "nobind\npersist-key\n";
        if (openVpnPersistTun)
            config += "persist-tun\n";
        config += "resolv-retry 5\nverb 3\n";
        config += openVpnExtraLines;
        res.set_content(toStd(config), "text/plain");
        configServed = true;
        return;
    }
    if (path == "/v1/shadow/config" && get) {
        res.set_content(toStd(QJsonDocument(mirrorConfig).toJson()), "application/json");
        return;
    }
    declined("not found", 404);
}
