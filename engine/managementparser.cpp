#include "engine/managementparser.h"

#include <QRegularExpression>

namespace ManagementParser {

namespace {

const QLatin1String kStatePrefix(">STATE:");
const QLatin1String kByteCountPrefix(">BYTECOUNT:");

} // namespace

StateKind stateOfLine(const QString &line)
{
    static const struct
    {
        QLatin1String word;
        StateKind kind;
    } words[] = {
        {QLatin1String("CONNECTING"), StateKind::Connecting},
        {QLatin1String("WAIT"), StateKind::Connecting},
        {QLatin1String("AUTH"), StateKind::Connecting},
        {QLatin1String("GET_CONFIG"), StateKind::Connecting},
        {QLatin1String("ASSIGN_IP"), StateKind::Connecting},
        {QLatin1String("ADD_ROUTES"), StateKind::Connecting},
        {QLatin1String("CONNECTED"), StateKind::Connected},
        {QLatin1String("RECONNECTING"), StateKind::Connecting},
        {QLatin1String("EXITING"), StateKind::Exiting},
    };
    if (!line.startsWith(kStatePrefix))
        return StateKind::None;
    for (const auto &w : words) {
        if (line.contains(w.word, Qt::CaseSensitive))
            return w.kind;
    }
    return StateKind::None;
}

bool parseByteCount(const QString &line, int *bytesIn, int *bytesOut)
{
    const QString trimmed = line.trimmed();
    if (!trimmed.startsWith(kByteCountPrefix))
        return false;
    const QString rest = trimmed.mid(kByteCountPrefix.size());
    const int comma = rest.indexOf(QLatin1Char(','));
    if (comma < 0)
        return false;
    bool okIn = false;
    bool okOut = false;
    const int in = rest.left(comma).toInt(&okIn, 10);
    const int out = rest.mid(comma + 1).toInt(&okOut, 10);
    if (!okIn || !okOut)
        return false;
    *bytesIn = in;
    *bytesOut = out;
    return true;
}

bool isSignalConfirmation(const QString &line)
{
    return line.contains(QLatin1String("SUCCESS: signal"));
}

QStringList markHistory(const QStringList &lines, bool *inHistory)
{
    QStringList result;
    result.reserve(lines.size());
    for (const QString &line : lines) {
        if (!*inHistory) {
            result.append(line);
            continue;
        }
        if (line.startsWith(QLatin1String(">INFO:"))
            || line.startsWith(QLatin1String("ENTER PASSWORD:"))) {
            continue;
        }
        if (line == QLatin1String("END")) {
            *inHistory = false;
            continue;
        }
        // Real-time notifications and command answers keep their own form.
        if (line.startsWith(QLatin1Char('>')) || line.startsWith(QLatin1String("SUCCESS:"))
            || line.startsWith(QLatin1String("ERROR:"))) {
            result.append(line);
            continue;
        }
        result.append(kStatePrefix + line);
    }
    return result;
}

QString parseVersion(const QByteArray &versionOutput)
{
    static const QRegularExpression re(QStringLiteral("^openvpn (\\d\\.\\d\\.\\d)"),
                                       QRegularExpression::CaseInsensitiveOption);
    const QString head = QString::fromUtf8(versionOutput).left(50);
    const QRegularExpressionMatch m = re.match(head);
    return m.hasMatch() ? m.captured(1) : QString();
}

QString outputText(const QByteArray &bytes)
{
    const int zero = bytes.indexOf('\0');
    return QString::fromLatin1(zero < 0 ? bytes : bytes.left(zero));
}

bool outputReportsError(const QString &text)
{
    return text.contains(QLatin1String("ERROR"), Qt::CaseInsensitive);
}

} // namespace ManagementParser
