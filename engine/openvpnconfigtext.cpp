#include "engine/openvpnconfigtext.h"

#include "engine/openvpnconfigreader.h"
#include "engine/openvpnconfigwriter.h"
#include "engine/openvpnoptiontable.h"

#include <algorithm>

namespace OpenVpnConfigText {

namespace {

// Why the option cannot be written as it was read, or an empty text. A written line must
// also fit into OpenVPN's line buffer whole, or OpenVPN would read it differently.
QString judge(const OpenVpnOption &option, bool inConnection)
{
    if (option.kind == OpenVpnOption::Unreadable)
        return QString::fromLatin1(option.text);
    const QString reason = OpenVpnOptionTable::check(option, inConnection);
    if (!reason.isEmpty())
        return reason;
    for (const QByteArray &line : OpenVpnConfigWriter::write(option).split('\n')) {
        if (line.size() >= OpenVpnConfigReader::LineBytes)
            return QStringLiteral("\"%1\" would not fit on one line")
                .arg(OpenVpnOptionTable::shownName(option.name()));
    }
    return QString();
}

class Rewriter
{
public:
    Rewriter(Unknown unknown, Result *result)
        : m_unknown(unknown)
        , m_result(result)
    { }

    // The options that may stay, or false when the whole text is refused.
    bool keep(const std::vector<OpenVpnOption> &items, bool inConnection,
              std::vector<OpenVpnOption> *kept)
    {
        for (const OpenVpnOption &item : items) {
            if (item.kind == OpenVpnOption::Comment) {
                if (!inConnection)
                    kept->push_back(item);
                continue;
            }
            if (item.kind == OpenVpnOption::Connection) {
                OpenVpnOption block = item;
                block.block.clear();
                if (!keep(item.block, true, &block.block))
                    return false;
                const bool hasRemote
                    = std::any_of(block.block.begin(), block.block.end(),
                                  [](const OpenVpnOption &o) { return o.name() == "remote"; });
                if (hasRemote)
                    kept->push_back(block);
                else if (!reject(item, QStringLiteral("a connection block without a remote")))
                    return false;
                continue;
            }
            const QString reason = judge(item, inConnection);
            if (reason.isEmpty())
                kept->push_back(item);
            else if (!reject(item, reason))
                return false;
        }
        return true;
    }

private:
    bool reject(const OpenVpnOption &item, const QString &reason)
    {
        if (m_unknown == Unknown::Refuse) {
            m_result->reason = QStringLiteral("line %1: %2").arg(item.line).arg(reason);
            return false;
        }
        if (item.text == "a zero byte")
            ++m_result->zeroByteLines;
        else
            m_result->removed << OpenVpnOptionTable::shownName(item.name());
        return true;
    }

    Unknown m_unknown;
    Result *m_result;
};

QStringList hostsOf(const std::vector<OpenVpnOption> &options, const QList<QByteArray> &names)
{
    QStringList hosts;
    for (const OpenVpnOption &option : options) {
        if (option.kind == OpenVpnOption::Connection)
            hosts << hostsOf(option.block, names);
        else if (option.kind == OpenVpnOption::Option && names.contains(option.name())
                 && option.words.size() > 1)
            hosts << QString::fromLatin1(option.words.at(1));
    }
    return hosts;
}

} // namespace

Result rewrite(const QByteArray &config, Unknown unknown, LongLines longLines)
{
    Result result;
    const OpenVpnConfigReader::Result read = OpenVpnConfigReader::read(config, longLines);
    if (!read.ok) {
        result.reason = read.reason;
        return result;
    }
    Rewriter rewriter(unknown, &result);
    std::vector<OpenVpnOption> kept;
    if (!rewriter.keep(read.items, false, &kept)) {
        result.removed.clear();
        return result;
    }
    result.text = OpenVpnConfigWriter::write(kept);
    result.options = std::move(kept);
    result.ok = true;
    return result;
}

QStringList remoteHosts(const std::vector<OpenVpnOption> &options)
{
    return hostsOf(options, {"remote"});
}

QStringList proxyHosts(const std::vector<OpenVpnOption> &options)
{
    return hostsOf(options, {"http-proxy", "socks-proxy"});
}

} // namespace OpenVpnConfigText
