#include "copypath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Returns false when a file could not be copied, so that its source is kept: moving the
// data of an older version must never lose a settings file or a log.
bool copyTree(const QString &source, const QString &destination, bool removeSource)
{
    const QFileInfo sourceInfo(source);
    if (!sourceInfo.exists() || !sourceInfo.isReadable())
        return true;

    bool complete = true;
    QList<QPair<QString, QString>> files;
    if (sourceInfo.isDir()) {
        const QDir sourceDir(source);
        const QDir destinationDir(destination);
        destinationDir.mkpath(QStringLiteral("."));
        const QStringList folders = sourceDir.entryList(QDir::Dirs | QDir::NoDotAndDotDot
                                                        | QDir::Hidden | QDir::NoSymLinks);
        for (const QString &folder : folders) {
            destinationDir.mkpath(folder);
            complete &= copyTree(sourceDir.filePath(folder), destinationDir.filePath(folder),
                                 removeSource);
        }
        const QStringList names
            = sourceDir.entryList(QDir::Files | QDir::Hidden | QDir::NoSymLinks);
        for (const QString &name : names)
            files.append({sourceDir.filePath(name), destinationDir.filePath(name)});
    } else {
        files.append({source, destination});
    }

    for (const auto &file : qAsConst(files)) {
        if (QFileInfo::exists(file.second) || QFileInfo(file.second).isSymLink())
            QFile::remove(file.second);
        const bool copied = QFile::copy(file.first, file.second);
        complete &= copied;
        if (removeSource && copied)
            QFile::remove(file.first);
    }

    if (removeSource && sourceInfo.isDir() && complete)
        QDir(source).removeRecursively();
    return complete;
}

} // namespace

void copyPath(const QString &source, const QString &destination, bool removeSource)
{
    copyTree(source, destination, removeSource);
}
