#include "helper/hosttext.h"

#include <algorithm>
#include <arpa/inet.h>

#include <QByteArray>
#include <QRegularExpression>
#include <QStringList>

QString HostText::canonicalAddress(const QString &text)
{
    const QByteArray bytes = text.toLatin1();
    if (bytes.size() >= INET6_ADDRSTRLEN || bytes.contains('\0')
        || text != QString::fromLatin1(bytes))
        return {};
    unsigned char binary[16];
    char out[INET6_ADDRSTRLEN];
    for (int family : {AF_INET, AF_INET6}) {
        if (inet_pton(family, bytes.constData(), binary) == 1
            && inet_ntop(family, binary, out, sizeof out))
            return QString::fromLatin1(out);
    }
    return {};
}

bool HostText::isHostName(const QString &text)
{
    // Anchored at the very end: '$' alone would also match before a final line end, which
    // would then start a line of its own where the name is written.
    static const QRegularExpression Label(QRegularExpression::anchoredPattern(
        QStringLiteral("[A-Za-z0-9]([A-Za-z0-9-]{0,61}[A-Za-z0-9])?")));
    if (text.isEmpty() || text.size() > 253)
        return false;
    const QStringList labels = text.split(QLatin1Char('.'));
    return std::all_of(labels.cbegin(), labels.cend(),
                       [](const QString &label) { return Label.match(label).hasMatch(); });
}
