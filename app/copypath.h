#pragma once

#include <QString>

// Copies a file or a folder tree onto `destination`, replacing files that exist there;
// with `removeSource` the source is deleted afterwards. A missing or unreadable source is
// skipped without a word.
void copyPath(const QString &source, const QString &destination, bool removeSource);
