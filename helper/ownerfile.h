#pragma once

#include <QByteArray>
#include <QString>

// Files the helper keeps for itself as root: never followed through a link, readable and
// writable by their owner alone.
namespace OwnerFile {

// Writes `bytes` as the whole of the file at `path` (made when missing, mode 0600 either way).
bool write(const QString &path, const QByteArray &bytes);
// Removes the file at `path`; true also when there was none.
bool remove(const QString &path);

} // namespace OwnerFile
