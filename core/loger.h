#pragma once

#include <QObject>
#include <QString>

class QFile;
class QTextStream;

// The application log: one UTF-8 file with a timestamped line per event, CR LF line ends,
// kept across runs and archived at start when it has grown past the size limit.
// Process-wide and static; every operation is serialised by one mutex, so the GUI thread
// and the process controllers' threads can write at the same time.
class Loger : public QObject
{
    Q_OBJECT

public:
    static void init(const QString &dir, bool withDate, bool append, const QString &baseName);
    static void writeLine(const QString &text);
    static void write(const QString &text, bool withTimestamp);
    static void endLine();
    static void close();
    static void removeOldFiles(int keepCount);
    static QString currentFileName();

    static void setSizeLimit(qint32 bytes);
    static qint32 sizeLimit();

    // The object that carries lineAdded(); created on first use.
    static Loger *notifier();

    // Bytes as they are when valid UTF-8, else decoded with U+FFFD for each invalid
    // sequence and encoded again.
    static QByteArray repairUtf8(const QByteArray &bytes);

signals:
    void lineAdded(const QString &line);

private:
    Loger() = default;
};
