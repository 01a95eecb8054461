#pragma once

#include <QByteArray>
#include <QStringList>

// The OpenVPN configuration comes from the service, possibly over plain HTTP, and OpenVPN
// runs with administrator rights: a single "up" or "plugin" line would run any program as
// administrator. Before the configuration is completed and written, every directive that runs
// a program, chooses which system program runs, loads code, reads or writes files at a place
// the configuration names, or opens a control channel is removed.
//
// Lines are read the way OpenVPN's own option parser reads them: a UTF-8 byte-order mark,
// leading blanks, an optional "--" before the name, the name in single or double quotes,
// backslash escapes, CR LF line ends, the "setenv opt" prefix, lines split where OpenVPN's line
// buffer splits them, and directives inside <connection> blocks. Inline file blocks such as
// <ca> or <tls-crypt> are never touched. Every line that is kept stays byte for byte.
// Options that send a file's content to the peer or a proxy the configuration names
// ("auth-user-pass <file>", "http-proxy <host> <port> <file>", "http-proxy-user-pass <file>",
// "socks-proxy <host> <port> <file>") are removed in that form only; their forms without a
// file stay. The completed configuration goes through apply() last, so that what is judged is
// what OpenVPN reads.
class DirectiveFilter
{
public:
    // The configuration without its unsafe lines. Each removal is logged with the directive's
    // name only (its arguments may carry anything) and, when `removed` is given, its name is
    // appended there too.
    static QByteArray apply(const QByteArray &config, QStringList *removed = nullptr);

    // Whether OpenVPN's option `name` (without "--", compared without regard to case) is one
    // the downloaded configuration may not carry.
    static bool isUnsafeName(const QByteArray &name);

    // The tokens OpenVPN makes of one line: blanks separate them, "..." and '...' quote, a
    // backslash escapes outside single quotes, and '#' or ';' at the start of a token begins a
    // comment. Reading stops at a zero byte, as OpenVPN's does.
    static QList<QByteArray> tokenize(const QByteArray &line);
};
