#include "engine/openvpnconfigreader.h"

#include "engine/openvpnconfigwriter.h"

#include <QHash>

namespace {

// OpenVPN's limits on one line: 16 words of at most 255 bytes each.
constexpr int MaxWords = 16;
constexpr int MaxWordBytes = 255;
// Far more than the key material and connection blocks of any configuration need.
constexpr int MaxBlockNames = 64;

const QByteArray ByteOrderMark("\xEF\xBB\xBF");
// A backslash before the very end of a text without a final line end: OpenVPN keeps its word
// open and refuses the file ("Residual parse state").
const QByteArray Residual("a backslash at the very end, which OpenVPN refuses");

bool isBlank(char c)
{
    return c == '\0' || c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

struct Piece
{
    QByteArray text;
    int line = 0;
    bool zero = false; // its line holds a zero byte, after which OpenVPN sees nothing
};

bool closes(const QByteArray &piece, const QByteArray &closingTag)
{
    int i = 0;
    while (i < piece.size() && isBlank(piece.at(i)))
        ++i;
    return piece.mid(i, closingTag.size()) == closingTag;
}

class Parser
{
public:
    explicit Parser(const std::vector<Piece> &pieces)
        : m_pieces(pieces)
    { }

    // Reads pieces [begin, end); inside a connection block no further block may open.
    std::vector<OpenVpnOption> parse(int begin, int end, bool inConnection)
    {
        std::vector<OpenVpnOption> items;
        int i = begin;
        while (i < end)
            i = parseAt(i, end, inConnection, &items);
        return items;
    }

    // Blocks of more names than MaxBlockNames were met; what was read is incomplete.
    bool tooManyNames() const { return m_tooManyNames; }
    // The line that ends in an unfinished word (OpenVPN refuses the whole text), or 0.
    int residualLine() const { return m_residualLine; }

private:
    int parseAt(int i, int end, bool inConnection, std::vector<OpenVpnOption> *items)
    {
        const Piece &piece = m_pieces.at(size_t(i));
        OpenVpnOption item;
        item.line = piece.line;
        if (piece.zero) {
            item.kind = OpenVpnOption::Unreadable;
            item.text = "a zero byte";
            items->push_back(item);
            return i + 1;
        }
        QByteArray text = piece.text;
        if (i == 0 && !inConnection && text.startsWith(ByteOrderMark))
            text.remove(0, ByteOrderMark.size());
        QByteArray problem;
        QList<QByteArray> words = OpenVpnConfigReader::words(text, &problem);
        if (problem == Residual && m_residualLine == 0)
            m_residualLine = piece.line;
        if (!problem.isEmpty()) {
            item.kind = OpenVpnOption::Unreadable;
            item.words = words;
            item.text = problem;
            items->push_back(item);
            return i + 1;
        }
        if (words.isEmpty()) {
            const QByteArray comment = text.trimmed();
            if (OpenVpnConfigWriter::isOwnComment(comment)) {
                item.kind = OpenVpnOption::Comment;
                item.text = comment;
                items->push_back(item);
            }
            return i + 1;
        }
        if (words.first().size() >= 3 && words.first().startsWith("--"))
            words.first().remove(0, 2);
        const QByteArray &first = words.first();
        if (words.size() == 1 && first.size() >= 2 && first.startsWith('<') && first.endsWith('>'))
            return parseBlock(i, end, first.mid(1, first.size() - 2), inConnection, items);
        if (words.size() >= 3 && words.at(0) == "setenv" && words.at(1) == "opt") {
            item.optional = true;
            words = words.mid(2);
        }
        item.words = words;
        items->push_back(item);
        return i + 1;
    }

    int parseBlock(int i, int end, const QByteArray &name, bool inConnection,
                   std::vector<OpenVpnOption> *items)
    {
        OpenVpnOption item;
        item.line = m_pieces.at(size_t(i)).line;
        item.words = {name};
        const int closing = closingPiece(i, end, "</" + name + ">");
        if (closing < 0) {
            // Whatever follows is read as options again; nothing of the block is kept.
            item.kind = OpenVpnOption::Unreadable;
            item.text = "a block that is never closed";
            items->push_back(item);
            return i + 1;
        }
        bool zero = false;
        for (int k = i + 1; k < closing; ++k)
            zero = zero || m_pieces.at(size_t(k)).zero;
        if (zero || inConnection) {
            item.kind = OpenVpnOption::Unreadable;
            item.text = zero ? "a zero byte" : "a block inside a connection block";
        } else if (name == "connection") {
            item.kind = OpenVpnOption::Connection;
            item.block = parse(i + 1, closing, true);
        } else {
            item.kind = OpenVpnOption::Inline;
            QByteArray content;
            for (int k = i + 1; k < closing; ++k)
                content += m_pieces.at(size_t(k)).text;
            if (content.endsWith('\n'))
                content.chop(1);
            if (!content.isEmpty() || i + 1 < closing) {
                for (QByteArray line : content.split('\n')) {
                    if (line.endsWith('\r'))
                        line.chop(1);
                    item.inlineLines << line;
                }
            }
        }
        items->push_back(item);
        return closing + 1;
    }

    // The first piece after `opener` that closes the block. A text of many blocks that never
    // close is searched once per tag, not once per opener.
    int closingPiece(int opener, int end, const QByteArray &closingTag)
    {
        const auto known = m_nextClosing.constFind(closingTag);
        if (known != m_nextClosing.constEnd() && (known.value() < 0 || known.value() > opener))
            return known.value() < end ? known.value() : -1;
        // Each new name is one more pass over the text: a text of many names is refused whole.
        if (known == m_nextClosing.constEnd() && m_nextClosing.size() >= MaxBlockNames) {
            m_tooManyNames = true;
            return -1;
        }
        int found = -1;
        for (int k = opener + 1; k < int(m_pieces.size()) && found < 0; ++k) {
            if (closes(m_pieces.at(size_t(k)).text, closingTag))
                found = k;
        }
        m_nextClosing.insert(closingTag, found);
        return found < end ? found : -1;
    }

    const std::vector<Piece> &m_pieces;
    QHash<QByteArray, int> m_nextClosing;
    bool m_tooManyNames = false;
    int m_residualLine = 0;
};

} // namespace

OpenVpnConfigReader::Result OpenVpnConfigReader::read(const QByteArray &config,
                                                      OpenVpnConfigText::LongLines longLines)
{
    Result result;
    std::vector<Piece> pieces;
    int pos = 0;
    int line = 0;
    int zeroAt = -1;
    while (pos < config.size()) {
        int end = config.indexOf('\n', pos);
        end = end < 0 ? config.size() : end + 1;
        ++line;
        if (end - pos > LineBytes && longLines == OpenVpnConfigText::LongLines::Refuse) {
            result.reason
                = QStringLiteral("line %1 is longer than %2 bytes").arg(line).arg(LineBytes);
            return result;
        }
        if (zeroAt >= 0 && zeroAt < pos)
            zeroAt = config.indexOf('\0', pos);
        else if (line == 1)
            zeroAt = config.indexOf('\0');
        const bool zero = zeroAt >= 0 && zeroAt < end;
        for (int at = pos; at < end; at += LineBytes)
            pieces.push_back({config.mid(at, qMin(LineBytes, end - at)), line, zero});
        pos = end;
    }
    Parser parser(pieces);
    result.items = parser.parse(0, int(pieces.size()), false);
    if (parser.tooManyNames()) {
        result.items.clear();
        result.reason = QStringLiteral("blocks of more than %1 different names").arg(MaxBlockNames);
        return result;
    }
    if (parser.residualLine() > 0) {
        result.items.clear();
        result.reason = QStringLiteral("line %1: %2")
                            .arg(parser.residualLine())
                            .arg(QString::fromLatin1(Residual));
        return result;
    }
    result.ok = true;
    return result;
}

QList<QByteArray> OpenVpnConfigReader::words(const QByteArray &line, QByteArray *problem)
{
    enum State { Between, Plain, DoubleQuoted, SingleQuoted };
    QList<QByteArray> words;
    QByteArray word;
    State state = Between;
    bool escaped = false;
    problem->clear();
    for (int i = 0; i <= line.size(); ++i) {
        // The line ends as if with a zero byte, which counts as a blank.
        const char c = i < line.size() ? line.at(i) : '\0';
        if (!escaped && c == '\\' && state != SingleQuoted) {
            escaped = true;
            continue;
        }
        char out = 0;
        bool done = false;
        switch (state) {
        case Between:
            if (isBlank(c))
                break;
            if (c == '#' || c == ';')
                return words;
            if (!escaped && c == '"') {
                state = DoubleQuoted;
            } else if (!escaped && c == '\'') {
                state = SingleQuoted;
            } else {
                out = c;
                state = Plain;
            }
            break;
        case Plain:
            if (!escaped && isBlank(c))
                done = true;
            else
                out = c;
            break;
        case DoubleQuoted:
            if (!escaped && c == '"')
                done = true;
            else
                out = c;
            break;
        case SingleQuoted:
            if (c == '\'')
                done = true;
            else
                out = c;
            break;
        }
        if (escaped && out && out != '\\' && out != '"' && !isBlank(out)) {
            *problem = "a backslash before a character it does not escape";
            return words;
        }
        escaped = false;
        if (out) {
            if (word.size() >= MaxWordBytes) {
                *problem = "a word longer than 255 bytes";
                return words;
            }
            word.append(out);
        }
        if (done) {
            words << word;
            word.clear();
            state = Between;
            if (words.size() > MaxWords) {
                *problem = "more than 16 words";
                return words;
            }
        }
    }
    if (state == DoubleQuoted || state == SingleQuoted)
        *problem = "a quote that is never closed";
    else if (state == Plain) // only an escaped end leaves a word open
        *problem = Residual;
    return words;
}
