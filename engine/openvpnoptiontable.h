#pragma once

#include "engine/openvpnoption.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The OpenVPN client options this program hands to OpenVPN, and nothing else. Each names how
// many arguments it takes and what each may look like: keywords, numbers in a range, host
// names and addresses, cipher lists and short texts. No argument is a file or folder: key
// material is taken inline only, and every shape leaves out '/' and '\'.
class OpenVpnOptionTable
{
public:
    enum class Shape {
        Keyword, // one of `words`
        Number, // a decimal number within [min, max], or one of `words`
        Name, // a host name, an IPv4 or IPv6 address, a route keyword
        Network6, // an IPv6 address with an optional "/bits"
        Address4, // an IPv4 address as inet_pton reads it, or one of `words`
        Address6, // an IPv6 address as inet_pton reads it
        Cipher, // cipher, digest and group names, ':'-separated lists of them
        Text // a short text of printable characters without quotes, slashes or '<' '>'
    };
    struct Argument
    {
        Shape shape;
        const char *words = ""; // '|'-separated
        qint64 min = 0;
        qint64 max = 0;
    };
    struct Entry
    {
        const char *name;
        int minArguments;
        int maxArguments;
        QList<Argument> arguments; // the last one stands for any further argument
        bool inlineOnly = false; // key material: an inline block, never a file
        bool inConnection = false; // allowed inside a <connection> block
    };

    static const QList<Entry> &entries();
    static const Entry *find(const QByteArray &name);

    // Why the option may not be handed to OpenVPN, or an empty text when it may. The reason
    // names the option with name characters only.
    static QString check(const OpenVpnOption &option, bool inConnection);

    // The option's name as it may be shown: letters, digits, '-' and '_', cut short.
    static QString shownName(const QByteArray &name);

    // A readable description of one argument, for the table the README shows.
    static QString describe(const Argument &argument);
};
