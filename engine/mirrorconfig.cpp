#include "engine/mirrorconfig.h"

#include "engine/mirrorendpoint.h"

#include <cmath>

#include <QJsonDocument>
#include <QJsonObject>

namespace {

const int LongestLoggedName = 64;
const int LongestTimeoutSeconds = 86400;

bool isWholeNumber(const QJsonValue &value, int lowest, int highest)
{
    const double number = value.toDouble();
    return value.isDouble() && std::floor(number) == number && number >= lowest
        && number <= highest;
}

// A member name as it may appear in a log line: the characters names are made of, short.
QString loggableName(const QString &name)
{
    QString out;
    for (const QChar c : name) {
        if (out.size() >= LongestLoggedName)
            break;
        const bool plain = c.unicode() < 128
            && (c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('-')
                || c == QLatin1Char('.'));
        out += plain ? c : QLatin1Char('?');
    }
    return out;
}

} // namespace

QStringList mirrorToolMethods()
{
    return {QStringLiteral("aes-128-gcm"), QStringLiteral("aes-192-gcm"),
            QStringLiteral("aes-256-gcm"), QStringLiteral("chacha20-ietf-poly1305"),
            QStringLiteral("xchacha20-ietf-poly1305")};
}

MirrorConfig rebuildMirrorConfig(const QByteArray &reply)
{
    MirrorConfig result;
    const QJsonDocument document = QJsonDocument::fromJson(reply);
    if (!document.isObject())
        return result;
    const QJsonObject given = document.object();

    // The service's "local_address" is read and ignored: the proxy is for this machine only.
    static const QStringList known {"server",   "server_port", "local_address", "local_port",
                                    "password", "method",      "timeout"};
    for (auto it = given.begin(); it != given.end(); ++it) {
        if (!known.contains(it.key()))
            result.dropped.append(loggableName(it.key()));
    }

    const QString server = given.value(QLatin1String("server")).toString();
    const QJsonValue password = given.value(QLatin1String("password"));
    const QJsonValue timeout = given.value(QLatin1String("timeout"));
    const QList<QPair<const char *, bool>> checks {
        {"server", isHostAddressText(server)},
        {"server_port", isWholeNumber(given.value(QLatin1String("server_port")), 1, 65535)},
        {"local_port", isWholeNumber(given.value(QLatin1String("local_port")), 1, 65535)},
        {"password", password.isString() && !password.toString().isEmpty()},
        {"method", mirrorToolMethods().contains(given.value(QLatin1String("method")).toString())},
        {"timeout", timeout.isUndefined() || isWholeNumber(timeout, 1, LongestTimeoutSeconds)},
    };
    for (const auto &check : checks) {
        if (!check.second) {
            result.unusable = QString::fromLatin1(check.first);
            return result;
        }
    }

    QJsonObject config {{"server", server},
                        {"server_port", given.value(QLatin1String("server_port")).toInt()},
                        {"local_address", "127.0.0.1"},
                        {"local_port", given.value(QLatin1String("local_port")).toInt()},
                        {"password", password},
                        {"method", given.value(QLatin1String("method"))}};
    if (!timeout.isUndefined())
        config.insert(QLatin1String("timeout"), timeout.toInt());
    result.text = QJsonDocument(config).toJson();
    return result;
}
