#pragma once

#include <memory>

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// A stand-in for the VPN service on the loopback address: every path, header and JSON
// member the client uses, a record of every request it received, checks of the headers it
// expects, and faults on demand. It serves on threads of its own, so a test's event loop
// stays free; it stops when destroyed.
class MockService
{
public:
    enum class Fault {
        None,
        Delay, // answer normally after delayMs
        Silent, // accept, read the request, never answer (until stopped)
        Close, // send the head of a reply, then close without a body
        NotFound, // 404 without body
        ServerErrorJson, // 500 with {"result": false}
        ServerErrorPlain, // 500 without body
        Declined, // 200 with {"result": false}
        InvalidJson, // 200 with a body that is not JSON
        EmptyBody, // 200 with an empty body
        TruncatedBody // the head promises more than the body that follows
    };

    struct Request
    {
        QByteArray method;
        QByteArray path; // without the query
        QByteArray query; // raw, after '?'
        QList<QPair<QByteArray, QByteArray>> headers; // names lower case, in arrival order
        QByteArray body;

        QByteArray header(const QByteArray &name) const; // case-insensitive; empty if absent
        bool hasHeader(const QByteArray &name) const;
    };

    MockService();
    ~MockService();
    MockService(const MockService &) = delete;
    MockService &operator=(const MockService &) = delete;

    // Starts on 127.0.0.1 at the given port (0: any free port). With a certificate and key
    // (PEM files) it speaks HTTPS. False when it could not listen.
    bool start(quint16 port = 0, const QString &certificateFile = QString(),
               const QString &keyFile = QString());
    void stop();
    quint16 port() const;
    QString baseUrl() const; // "http://127.0.0.1:port" or "https://..."

    // The data of a demo account: subscriptions of every type and status, servers with
    // free ones and same-city groups, a double map with unknown ids.
    void loadDemoData();

    // Account.
    void setAccount(const QString &login, const QString &password, int userId, const QString &email,
                    const QString &userName);
    QString login() const;
    QString password() const;
    QString requestKey() const;
    QString authToken() const;
    int userId() const;

    // Replies.
    void setSubscriptions(const QJsonArray &data);
    void setServers(int packageId, const QJsonArray &data);
    void setDoubleMap(const QJsonObject &map);
    void setEchoReply(const QByteArray &text); // plain text of /api/checkrealip
    void setEchoCountry(const QString &country); // a reply naming this country
    // [7]/[8]: the address before the tunnel, and the one after. The second is given while
    // connected, and, with connectAfterConfig, to the address checks that come within
    // five seconds of the first one after a served OpenVPN configuration.
    void setAddresses(const QString &original, const QString &tunnel);
    void setConnected(bool connected);
    void setConnectAfterConfig(bool enabled);
    void setOpenVpnRemote(const QString &host, quint16 port);
    // Lines appended to every OpenVPN configuration served (keys for a real far end).
    void setOpenVpnExtraLines(const QByteArray &lines);
    // Whether the configurations served keep the tunnel across OpenVPN's restarts (on by
    // default, as most providers ship them).
    void setOpenVpnPersistTun(bool on);
    void setMirrorConfig(const QJsonObject &config);

    // Requests that name the API by its literal address carry this Host; empty: requests
    // must carry the address they were sent to.
    void setExpectedApiHost(const QByteArray &host);

    // Faults for one path (without query). count: how many requests fail (-1 always).
    void setFault(const QByteArray &path, Fault fault, int delayMs = 0, int count = -1);
    void clearFaults();
    // Holds every Silent reply until released or stopped.
    void releaseSilent();

    QList<Request> requests() const;
    void clearRequests();
    // Header and form problems seen so far, one sentence each.
    QStringList violations() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};
