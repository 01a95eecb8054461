#pragma once

#include <vector>

#include <QByteArray>
#include <QList>

// One item of an OpenVPN configuration as OpenVPN reads it: an option with its words, an
// inline block, a <connection> block with its own options, one of this program's own comment
// lines, or a line that OpenVPN would not read as the service meant it.
struct OpenVpnOption
{
    enum Kind { Option, Inline, Connection, Comment, Unreadable };

    Kind kind = Option;
    // The option's name first, then its arguments; for an inline block its name only.
    QList<QByteArray> words;
    // Given as "setenv opt NAME ...": OpenVPN applies it when it knows it and ignores it
    // otherwise, which keeps options of another platform harmless.
    bool optional = false;
    // The lines of an inline block, without their line ends.
    QList<QByteArray> inlineLines;
    // The options of a <connection> block.
    std::vector<OpenVpnOption> block;
    // The comment line, or why the line is unreadable.
    QByteArray text;
    // Where it begins, counted from 1.
    int line = 0;

    QByteArray name() const { return words.value(0); }
    bool operator==(const OpenVpnOption &other) const
    {
        return kind == other.kind && words == other.words && optional == other.optional
            && inlineLines == other.inlineLines && block == other.block && text == other.text;
    }
    bool operator!=(const OpenVpnOption &other) const { return !(*this == other); }
};
