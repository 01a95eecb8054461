#include "diagnosticsredactor.h"

#include <algorithm>

#include <QHostAddress>
#include <QRegularExpression>
#include <QUrl>

namespace {

// The forms a secret takes on its way through URLs, form bodies, headers and JSON.
QVector<QByteArray> formsOf(const QByteArray &value)
{
    QVector<QByteArray> forms {value};
    const QByteArray percent = QUrl::toPercentEncoding(QString::fromUtf8(value));
    forms << percent << percent.toLower();
    QByteArray plus = QUrl::toPercentEncoding(QString::fromUtf8(value), " ");
    plus.replace(' ', '+');
    forms << plus << QUrl::toPercentEncoding(QString::fromUtf8(value), "", "!*'()~-._");
    for (const auto option : {QByteArray::Base64Encoding, QByteArray::Base64UrlEncoding}) {
        forms << value.toBase64(option) << value.toBase64(option | QByteArray::OmitTrailingEquals);
    }
    QByteArray json = value;
    json.replace('\\', "\\\\").replace('"', "\\\"").replace('/', "\\/");
    forms << json;
    std::sort(forms.begin(), forms.end());
    forms.erase(std::unique(forms.begin(), forms.end()), forms.end());
    return forms;
}

bool inRange(quint32 address, quint32 network, int prefix)
{
    const quint32 mask = prefix == 0 ? 0 : ~quint32(0) << (32 - prefix);
    return (address & mask) == (network & mask);
}

bool isPublicIPv4(quint32 a)
{
    static const struct
    {
        quint32 network;
        int prefix;
    } notPublic[] = {
        {0x00000000, 8},  {0x0a000000, 8},  {0x64400000, 10}, {0x7f000000, 8},  {0xa9fe0000, 16},
        {0xac100000, 12}, {0xc0000000, 24}, {0xc0000200, 24}, {0xc0a80000, 16}, {0xc6120000, 15},
        {0xc6336400, 24}, {0xcb007100, 24}, {0xe0000000, 4},  {0xf0000000, 4},
    };
    for (const auto &range : notPublic) {
        if (inRange(a, range.network, range.prefix))
            return false;
    }
    return true;
}

} // namespace

void DiagnosticsRedactor::addSecret(const QString &label, const QByteArray &value)
{
    if (value.isEmpty())
        return;
    const QByteArray replacement = QStringLiteral("[%1 removed]").arg(label).toUtf8();
    for (const QByteArray &form : formsOf(value))
        m_forms.append({form, replacement, label});
    // Longer forms first, so that a form inside another is not cut in half.
    std::stable_sort(m_forms.begin(), m_forms.end(),
                     [](const Form &a, const Form &b) { return a.bytes.size() > b.bytes.size(); });
}

void DiagnosticsRedactor::setHomePath(const QString &homePath)
{
    // The root folder as "home" would turn every path into nonsense and hides nothing.
    m_home = homePath.size() > 1 ? homePath.toUtf8() : QByteArray();
}

void DiagnosticsRedactor::addKeptAddress(const QString &address)
{
    const QHostAddress parsed(address.trimmed());
    if (!parsed.isNull())
        m_kept.insert(parsed.toString());
}

void DiagnosticsRedactor::setHideAddresses(bool hide)
{
    m_hideAddresses = hide;
}

QByteArray DiagnosticsRedactor::redact(const QByteArray &text)
{
    QByteArray out = removePemKeys(text);
    if (out != text)
        ++m_counts[QStringLiteral("private key")];
    for (const Form &form : m_forms) {
        const int found = out.count(form.bytes);
        if (found == 0)
            continue;
        out.replace(form.bytes, form.replacement);
        m_counts[form.label] += found;
    }
    if (!m_home.isEmpty()) {
        out.replace(m_home, "~");
        out.replace(QUrl::toPercentEncoding(QString::fromUtf8(m_home), "/"), "~");
    }
    return m_hideAddresses ? replaceAddresses(out) : out;
}

QByteArray DiagnosticsRedactor::replaceAddresses(const QByteArray &text)
{
    // Candidates only; QHostAddress decides what is an address. A dotted quad must not be part
    // of a longer dotted number (a version such as 1.2.3.4.5).
    static const QRegularExpression candidate(QStringLiteral(
        "(?<![\\w.])(?:\\d{1,3}\\.){3}\\d{1,3}(?!\\w|\\.\\d)"
        "|(?<![\\w.:])(?:[0-9A-Fa-f]{0,4}:){2,7}(?:[0-9A-Fa-f]{1,4}|(?:\\d{1,3}\\.){3}\\d{1,3})?"
        "(?![\\w:])"));
    const QString source = QString::fromUtf8(text);
    QString result;
    result.reserve(source.size());
    int last = 0;
    auto it = candidate.globalMatch(source);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        QHostAddress address;
        if (!address.setAddress(match.captured()) || !isPublicAddress(match.captured()))
            continue;
        const QString normal = address.toString();
        if (m_kept.contains(normal))
            continue;
        int &number = m_addressNumbers[normal];
        if (number == 0)
            number = m_addressNumbers.size();
        result += source.midRef(last, match.capturedStart() - last);
        result += QStringLiteral("[public address %1]").arg(number);
        last = match.capturedEnd();
        ++m_counts[QStringLiteral("public address")];
    }
    if (last == 0)
        return text;
    result += source.midRef(last);
    return result.toUtf8();
}

bool DiagnosticsRedactor::isPublicAddress(const QString &text)
{
    const QHostAddress address(text);
    if (address.isNull())
        return false;
    bool mapped = false;
    const quint32 v4 = address.toIPv4Address(&mapped);
    if (address.protocol() == QAbstractSocket::IPv4Protocol || mapped)
        return isPublicIPv4(v4);
    const Q_IPV6ADDR v6 = address.toIPv6Address();
    // Global unicast is 2000::/3; 2001:db8::/32 is kept for documentation.
    if ((v6[0] & 0xe0) != 0x20)
        return false;
    return !(v6[0] == 0x20 && v6[1] == 0x01 && v6[2] == 0x0d && v6[3] == 0xb8);
}

QByteArray DiagnosticsRedactor::removePemKeys(const QByteArray &text)
{
    static const QRegularExpression block(
        QStringLiteral("(-----BEGIN ([A-Za-z0-9 ]*(?:PRIVATE KEY|Static key V\\d))-----)"
                       "[\\s\\S]*?(-----END \\2-----|$)"));
    if (!text.contains("-----BEGIN "))
        return text;
    QString source = QString::fromUtf8(text);
    source.replace(block, QStringLiteral("\\1\n[private key removed]\n\\3"));
    return source.toUtf8();
}
