#pragma once

#include <sys/types.h>

#include <QByteArray>
#include <QString>

// A file named by the caller of the privileged helper, read with the caller's rights: opened
// as the caller (file-system ids), never through a link, without waiting on a FIFO, and
// accepted only as a regular text file of at most MaxSize bytes that the caller owns. The
// checks look at the open file itself, so a path changed after a check is never read.
class CallerFile
{
public:
    static constexpr qint64 MaxSize = 1024 * 1024;

    struct Result
    {
        bool ok = false;
        bool missing = false; // nothing at the path (not an error for optional files)
        QByteArray bytes;
        QString reason; // never quotes the file's contents
    };

    static Result read(const QString &path, uid_t caller, gid_t callerGroup);

    // Whether path names a folder the caller can reach, looked at with the caller's rights:
    // root's view would tell the caller about folders it cannot enter.
    static bool isFolder(const QString &path, uid_t caller, gid_t callerGroup);
};
