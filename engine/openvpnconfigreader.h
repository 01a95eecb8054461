#pragma once

#include "engine/openvpnconfigtext.h"
#include "engine/openvpnoption.h"

#include <vector>

#include <QByteArray>
#include <QString>

// Reads configuration text the way OpenVPN's own option parser does: lines, cut into 255-byte
// pieces by OpenVPN 2.3 and 2.4 or refused when longer by 2.6; blanks between words, "..." and
// '...' quotes, backslash escapes, '#' and ';' comments at the start of a word, a leading "--"
// before the name, a UTF-8 byte-order mark skipped on the first line only, "setenv opt NAME",
// inline blocks <name>...</name> closed by the first line that begins with </name>, and
// <connection> blocks whose lines are options. What OpenVPN would read differently from what
// the text seems to say (a zero byte, a bad escape, an open quote, a block that never closes)
// becomes an Unreadable item rather than a guess.
class OpenVpnConfigReader
{
public:
    struct Result
    {
        bool ok = false;
        QString reason; // why the whole text cannot be read, when not ok
        std::vector<OpenVpnOption> items;
    };

    static Result read(const QByteArray &config, OpenVpnConfigText::LongLines longLines);

    // The words OpenVPN makes of one line; an empty `problem` when it reads the line at all.
    static QList<QByteArray> words(const QByteArray &line, QByteArray *problem);

    // OpenVPN's longest line: its line buffer holds 255 bytes with the line end.
    static constexpr int LineBytes = 255;
};
