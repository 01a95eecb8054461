#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The answer of the outside address check: plain text whose third non-empty line names
// the user's country. Some countries block the service, and there the mirror route is
// needed.
struct MirrorCheck
{
    bool valid = false; // three lines or more
    QString country; // the third line, white space simplified
    bool listed = false; // the country is one that needs the mirror route
};

MirrorCheck parseMirrorCheck(const QByteArray &body);

// The countries that need the mirror route, lower case.
QStringList mirrorCountries();
