#include "engine/directivefilter.h"

#include "core/loger.h"

#include <QObject>
#include <QSet>

namespace {

// OpenVPN 2.3 and 2.4 read their configuration with fgets() into a buffer of 256 bytes: a
// longer line reaches the option parser as several lines. A directive hidden behind 255 bytes
// of padding is therefore a directive of its own, and is judged as one.
constexpr int LineBufferBytes = 255;

const QByteArray ByteOrderMark("\xEF\xBB\xBF");

const QSet<QByteArray> &unsafeNames()
{
    static const QSet<QByteArray> names {
        // Run a program, or choose which system program runs.
        "script-security", "up", "down", "route-up", "route-pre-down", "ipchange", "client-connect",
        "client-disconnect", "client-crresponse", "learn-address", "auth-user-pass-verify",
        "tls-verify", "tls-crypt-v2-verify", "dns-updown", "win-sys", "iproute",
        // Load code.
        "plugin", "engine", "providers", "pkcs11-providers",
        // Read more options, or read and write files at a place the configuration names.
        "config", "log", "log-append", "status", "writepid", "tls-export-cert", "replay-persist",
        "ifconfig-pool-persist", "tmp-dir", "cd", "chroot", "askpass", "genkey",
        // Open a control channel, or change how and where OpenVPN itself runs.
        "management", "daemon", "syslog", "service",
        // Would let an unknown (newer) directive through without an error.
        "ignore-unknown-option"};
    return names;
}

// Options whose inline block holds file content (keys, certificates, credentials) rather
// than directives.
const QSet<QByteArray> &inlineFileNames()
{
    static const QSet<QByteArray> names {"ca",
                                         "cert",
                                         "extra-certs",
                                         "key",
                                         "pkcs12",
                                         "dh",
                                         "tls-auth",
                                         "tls-crypt",
                                         "tls-crypt-v2",
                                         "secret",
                                         "crl-verify",
                                         "http-proxy-user-pass",
                                         "auth-user-pass",
                                         "peer-fingerprint",
                                         "auth-gen-token-secret"};
    return names;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// The option name as OpenVPN would look it up, made a little wider on purpose: any number of
// leading dashes, stray quotes and blanks and letter case are all taken away, so that a near miss
// that some OpenVPN version might still accept is judged like the real name.
QByteArray normalizedName(QByteArray token)
{
    if (token.startsWith(ByteOrderMark))
        token.remove(0, ByteOrderMark.size());
    int begin = 0;
    int end = token.size();
    // Blanks too: an escaped blank or line end belongs to the name for OpenVPN's reader.
    const auto stray = [&token](int i) {
        return token.at(i) == '"' || token.at(i) == '\'' || isBlank(token.at(i));
    };
    while (begin < end && stray(begin))
        ++begin;
    while (end > begin && stray(end - 1))
        --end;
    while (begin < end && token.at(begin) == '-')
        ++begin;
    return token.mid(begin, end - begin).toLower();
}

// The name that goes into the log: only the characters option names are made of, and short.
QString loggableName(const QByteArray &name)
{
    QByteArray out;
    for (char c : name) {
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_')
            out.append(c);
        if (out.size() >= 64)
            break;
    }
    return QString::fromLatin1(out);
}

// Whether the line names a file whose content OpenVPN would send to the peer or to a proxy:
// credentials read from "/etc/shadow" and sent to the service's own proxy would be lost.
bool sendsFileContent(const QByteArray &name, const QList<QByteArray> &tokens)
{
    if (name == "auth-user-pass" || name == "http-proxy-user-pass")
        return tokens.size() >= 2;
    if (name == "socks-proxy")
        return tokens.size() >= 4;
    if (name == "http-proxy" && tokens.size() >= 4) {
        const QByteArray third = tokens.at(3).toLower();
        return third != "auto" && third != "auto-nct";
    }
    return false;
}

// The unsafe directive a tokenised line carries, or an empty name. "setenv opt X" makes X an
// optional directive that OpenVPN still applies when it knows it.
QByteArray unsafeDirectiveOf(QList<QByteArray> tokens)
{
    while (!tokens.isEmpty()) {
        const QByteArray name = normalizedName(tokens.first());
        if (name == "setenv" && tokens.size() >= 2) {
            const QByteArray variable = normalizedName(tokens.at(1));
            if (variable == "opt") {
                tokens = tokens.mid(2);
                continue;
            }
            if (variable == "forward_compatible")
                return "setenv FORWARD_COMPATIBLE";
            return QByteArray();
        }
        return DirectiveFilter::isUnsafeName(name) || sendsFileContent(name, tokens) ? name
                                                                                     : QByteArray();
    }
    return QByteArray();
}

// Whether a line closes the block `tag`. Blanks before the closing tag, letter case and text
// after it are all accepted, since a block that OpenVPN closes earlier than this filter would
// hide directives from it.
bool closesBlock(const QByteArray &line, const QByteArray &tag)
{
    int i = 0;
    while (i < line.size() && isBlank(line.at(i)))
        ++i;
    const QByteArray closing = "</" + tag + ">";
    return line.mid(i, closing.size()).toLower() == closing.toLower();
}

class Filter
{
public:
    explicit Filter(QStringList *removed)
        : m_removed(removed)
    { }

    bool removedAny() const { return m_removedAny; }

    QByteArray run(const QByteArray &config)
    {
        QByteArray out;
        out.reserve(config.size());
        int pos = 0;
        while (pos < config.size()) {
            int end = config.indexOf('\n', pos);
            end = end < 0 ? config.size() : end + 1;
            const QByteArray line = config.mid(pos, end - pos);
            const bool firstLine = pos == 0;
            pos = end;
            if (keepLine(line, firstLine))
                out.append(line);
            else
                m_removedAny = true;
        }
        return out;
    }

private:
    bool keepLine(const QByteArray &line, bool firstLine)
    {
        // OpenVPN's reader stops at a zero byte, so text after it is invisible to OpenVPN but
        // not to every tool that handles the file later. Such a line is never legitimate: it
        // is still read for the block structure, then removed whatever it says.
        const int zero = line.indexOf('\0');
        const QByteArray visible = zero < 0 ? line : line.left(zero);

        bool keep = true;
        int at = 0;
        do {
            if (!judgePiece(visible.mid(at, LineBufferBytes), firstLine && at == 0))
                keep = false;
            at += LineBufferBytes;
        } while (at < visible.size());
        if (zero >= 0) {
            Loger::writeLine(QObject::tr("[9]: removed a line containing a zero byte from the "
                                         "downloaded configuration"));
            keep = false;
        }
        return keep;
    }

    // Follows the block structure through one piece of a line as OpenVPN reads it and tells
    // whether the piece may stay.
    bool judgePiece(const QByteArray &piece, bool fileStart)
    {
        if (m_inConnection && closesBlock(piece, "connection")) {
            // Ends any block left open inside the connection too; the closing line itself
            // stays, so that the connection block remains whole.
            m_inConnection = false;
            m_blockTag.clear();
            m_removingBlock = false;
            return true;
        }
        if (!m_blockTag.isEmpty()) {
            const bool keep = !m_removingBlock;
            if (closesBlock(piece, m_blockTag)) {
                m_blockTag.clear();
                m_removingBlock = false;
            }
            return keep;
        }

        // OpenVPN skips a byte-order mark at the start of the file only; elsewhere it belongs
        // to the option name, so a marked block tag opens no block there. (Names are compared
        // without it everywhere, which only removes more.)
        QByteArray stripped = piece;
        if (fileStart && stripped.startsWith(ByteOrderMark))
            stripped.remove(0, ByteOrderMark.size());
        const QList<QByteArray> tokens = DirectiveFilter::tokenize(stripped);
        if (tokens.isEmpty())
            return true;

        const QByteArray first = tokens.first();
        if (tokens.size() == 1 && first.size() > 2 && first.startsWith('<') && first.endsWith('>'))
            return openBlock(first.mid(1, first.size() - 2));

        const QByteArray unsafe = unsafeDirectiveOf(tokens);
        if (unsafe.isEmpty())
            return true;
        report(unsafe);
        return false;
    }

    bool openBlock(const QByteArray &rawTag)
    {
        const QByteArray name = normalizedName(rawTag);
        if (name == "connection") {
            // Its lines are directives and are judged one by one.
            m_inConnection = true;
            return true;
        }
        if (DirectiveFilter::isUnsafeName(name)) {
            report(name);
            m_blockTag = rawTag;
            m_removingBlock = true;
            return false;
        }
        // Blocks of any other name are read as directives too: only the known file blocks
        // are passed through unread.
        if (inlineFileNames().contains(name))
            m_blockTag = rawTag;
        return true;
    }

    void report(const QByteArray &name)
    {
        const QString text
            = name.startsWith("setenv ") ? QString::fromLatin1(name) : loggableName(name);
        Loger::writeLine(
            QObject::tr("[9]: removed directive \"%1\" from the downloaded configuration")
                .arg(text));
        if (m_removed)
            m_removed->append(text);
    }

    QStringList *m_removed;
    bool m_removedAny = false;
    bool m_inConnection = false;
    QByteArray m_blockTag;
    bool m_removingBlock = false;
};

} // namespace

QByteArray DirectiveFilter::apply(const QByteArray &config, QStringList *removed)
{
    // Removing a line can change how the lines after it are read (a removed line may have
    // opened or closed a block), so the result is read again until nothing more is removed:
    // what OpenVPN finally reads is exactly what was judged safe.
    constexpr int MaxPasses = 64;
    QByteArray current = config;
    for (int pass = 0; pass < MaxPasses; ++pass) {
        Filter filter(removed);
        QByteArray next = filter.run(current);
        if (!filter.removedAny())
            return next;
        current = next;
    }
    Loger::writeLine(QObject::tr("[9]: the downloaded configuration could not be made safe and "
                                 "was discarded"));
    return QByteArray();
}

bool DirectiveFilter::isUnsafeName(const QByteArray &name)
{
    const QByteArray lower = name.toLower();
    return unsafeNames().contains(lower) || lower.startsWith("management-");
}

QList<QByteArray> DirectiveFilter::tokenize(const QByteArray &line)
{
    enum State { Between, Unquoted, DoubleQuoted, SingleQuoted };
    QList<QByteArray> tokens;
    QByteArray token;
    State state = Between;
    bool escaped = false;
    for (int i = 0; i <= line.size(); ++i) {
        const char c = i < line.size() ? line.at(i) : '\0';
        const bool end = c == '\0' || isBlank(c);
        if (!escaped && c == '\\' && state != SingleQuoted) {
            escaped = true;
            continue;
        }
        bool done = false;
        switch (state) {
        case Between:
            if (!end) {
                if (c == '#' || c == ';')
                    return tokens;
                if (!escaped && c == '"') {
                    state = DoubleQuoted;
                } else if (!escaped && c == '\'') {
                    state = SingleQuoted;
                } else {
                    token.append(c);
                    state = Unquoted;
                }
            }
            break;
        case Unquoted:
            if (!escaped && end)
                done = true;
            else if (c != '\0')
                token.append(c);
            break;
        case DoubleQuoted:
            if (!escaped && c == '"')
                done = true;
            else if (c != '\0')
                token.append(c);
            break;
        case SingleQuoted:
            if (c == '\'')
                done = true;
            else if (c != '\0')
                token.append(c);
            break;
        }
        escaped = false;
        if (done || (c == '\0' && state != Between)) {
            tokens.append(token);
            token.clear();
            state = Between;
        }
        if (c == '\0')
            break;
    }
    return tokens;
}
