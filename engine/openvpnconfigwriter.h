#pragma once

#include "engine/openvpnoption.h"

#include <vector>

#include <QByteArray>

// Writes configuration text from options: one option a line, each word bare when it is made
// of plain characters and in double quotes otherwise, so that OpenVPN's reader reads back
// exactly the same words; inline and connection blocks; and this program's own comment
// lines, each after a blank line. Nothing else that was read (comments, blank lines, line
// ends, quoting) survives.
class OpenVpnConfigWriter
{
public:
    static QByteArray write(const std::vector<OpenVpnOption> &options);
    // The text of one option or block, with its line ends.
    static QByteArray write(const OpenVpnOption &option);
    static QByteArray quoted(const QByteArray &word);

    // Whether `line` is one of the comment lines the client's own patches write.
    static bool isOwnComment(const QByteArray &line);
};
