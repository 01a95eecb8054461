#include "diagnosticsarchive.h"

#include <KZip>

#include <QBuffer>
#include <QCoreApplication>
#include <QDateTime>
#include <QSaveFile>

QString writeDiagnosticsArchive(const QString &path, const QVector<DiagnosticsFile> &files)
{
    // Built in memory (a few megabytes at most): KZip closes the device it writes to, which a
    // QSaveFile does not allow, and the size is known before anything reaches the disk.
    QByteArray archive;
    {
        QBuffer buffer(&archive);
        KZip zip(&buffer);
        if (!zip.open(QIODevice::WriteOnly))
            return zip.errorString();
        zip.setCompression(KZip::DeflateCompression);
        const QDateTime now = QDateTime::currentDateTime();
        for (const DiagnosticsFile &file : files) {
            if (!zip.writeFile(file.name, file.content, 0100644, QString(), QString(), now, now,
                               now))
                return zip.errorString();
        }
        if (!zip.close())
            return zip.errorString();
    }
    if (archive.size() > DiagnosticsBundle::ArchiveLimit)
        return QCoreApplication::translate("DiagnosticsDialog", "The archive would exceed %1 MB.")
            .arg(DiagnosticsBundle::ArchiveLimit / (1024 * 1024));
    QSaveFile target(path);
    if (!target.open(QIODevice::WriteOnly) || target.write(archive) != archive.size()
        || !target.commit())
        return target.errorString();
    return QString();
}
