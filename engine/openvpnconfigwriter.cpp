#include "engine/openvpnconfigwriter.h"

#include <cstring>

namespace {

const QByteArray OwnCommentStart("# Kestrune VPN (desktop): ");

bool isPlain(const QByteArray &word)
{
    if (word.isEmpty() || word.at(0) == '#' || word.at(0) == ';')
        return false;
    for (char c : word) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')
            || (c >= '0' && c <= '9') || std::strchr("-_.:,=+@!/#;", c);
        if (!plain || c == '\0')
            return false;
    }
    return true;
}

} // namespace

QByteArray OpenVpnConfigWriter::quoted(const QByteArray &word)
{
    if (isPlain(word))
        return word;
    QByteArray out = "\"";
    for (char c : word) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out + '"';
}

QByteArray OpenVpnConfigWriter::write(const OpenVpnOption &option)
{
    QByteArray out;
    switch (option.kind) {
    case OpenVpnOption::Option: {
        QList<QByteArray> words;
        for (const QByteArray &word : option.words)
            words << quoted(word);
        out = (option.optional ? "setenv opt " : "") + words.join(' ') + '\n';
        break;
    }
    case OpenVpnOption::Inline:
        out = '<' + option.name() + ">\n";
        for (const QByteArray &line : option.inlineLines)
            out += line + '\n';
        out += "</" + option.name() + ">\n";
        break;
    case OpenVpnOption::Connection:
        out = "<connection>\n";
        for (const OpenVpnOption &inner : option.block)
            out += write(inner);
        out += "</connection>\n";
        break;
    case OpenVpnOption::Comment:
        out = option.text + '\n';
        break;
    case OpenVpnOption::Unreadable:
        break;
    }
    return out;
}

QByteArray OpenVpnConfigWriter::write(const std::vector<OpenVpnOption> &options)
{
    QByteArray out;
    for (const OpenVpnOption &option : options) {
        if (option.kind == OpenVpnOption::Comment && !out.isEmpty())
            out += '\n';
        out += write(option);
    }
    return out;
}

bool OpenVpnConfigWriter::isOwnComment(const QByteArray &line)
{
    if (!line.startsWith(OwnCommentStart) || line.size() > 80)
        return false;
    for (char c : line.mid(OwnCommentStart.size())) {
        if (!(c >= 'a' && c <= 'z') && c != ' ')
            return false;
    }
    return true;
}
