#pragma once

#include <QString>

// Host addresses and names as the helper accepts them from files and environments it does
// not trust: parsed, never passed on as they came.
namespace HostText {

// The canonical text inet_ntop writes for an IPv4 or IPv6 address; a null string for anything
// else (a NUL, a character beyond Latin-1 or a prefix that only starts like an address).
QString canonicalAddress(const QString &text);

// Labels of letters, digits and inner hyphens (at most 63 each) joined by dots, at most 253
// characters in all.
bool isHostName(const QString &text);

} // namespace HostText
