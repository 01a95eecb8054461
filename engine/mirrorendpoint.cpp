#include "engine/mirrorendpoint.h"

#include <cmath>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QRegularExpression>

namespace {

int portOf(const QJsonObject &object, const QString &key, QStringList *problems)
{
    if (!object.contains(key))
        return 0;
    const QJsonValue value = object.value(key);
    const double number = value.toDouble(-1.0);
    if (!value.isDouble() || number < 0 || number > 65535 || std::floor(number) != number) {
        problems->append(QStringLiteral("\"%1\" is not a port number").arg(key));
        return -1;
    }
    return static_cast<int>(number);
}

QString addressOf(const QJsonObject &object, const QString &key, QStringList *problems)
{
    const QJsonValue value = object.value(key);
    if (!value.isUndefined() && !value.isString())
        problems->append(QStringLiteral("\"%1\" is not a text").arg(key));
    return value.toString();
}

} // namespace

bool isHostAddressText(const QString &text)
{
    // \z, not $: "$" also matches before a final line break. At most 200 characters, so that
    // the proxy and route lines made of it stay within OpenVPN's line of 255 bytes.
    static const QRegularExpression host(
        QStringLiteral("\\A[A-Za-z0-9._:][A-Za-z0-9._:\\-]{0,199}\\z"));
    return host.match(text).hasMatch();
}

bool MirrorEndpoint::isComplete() const
{
    return !serverAddress.isEmpty() && !localAddress.isEmpty() && serverPort != -1
        && localPort != -1;
}

bool MirrorEndpoint::isUsable() const
{
    return isComplete() && isHostAddressText(serverAddress) && isHostAddressText(localAddress)
        && serverPort >= 0 && serverPort <= 65535 && localPort >= 0 && localPort <= 65535;
}

MirrorEndpoint readSsConfig(const QString &path, QString *error)
{
    MirrorEndpoint endpoint;
    if (error)
        error->clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return endpoint;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject()) {
        if (error) {
            *error = parseError.error != QJsonParseError::NoError
                ? QStringLiteral("%1 is not valid JSON: %2 at offset %3")
                      .arg(path, parseError.errorString())
                      .arg(parseError.offset)
                : QStringLiteral("%1 does not hold a JSON object").arg(path);
        }
        return endpoint;
    }
    const QJsonObject object = document.object();
    QStringList problems;
    endpoint.localAddress = addressOf(object, QStringLiteral("local_address"), &problems);
    endpoint.localPort = portOf(object, QStringLiteral("local_port"), &problems);
    endpoint.serverAddress = addressOf(object, QStringLiteral("server"), &problems);
    endpoint.serverPort = portOf(object, QStringLiteral("server_port"), &problems);
    if (error && !problems.isEmpty())
        *error = QStringLiteral("%1: %2").arg(path, problems.join(QStringLiteral(", ")));
    return endpoint;
}
