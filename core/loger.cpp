#include "loger.h"

#include <memory>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QRegularExpression>
#include <QTextCodec>
#include <QTextStream>

namespace {

struct LogState
{
    QMutex mutex {QMutex::Recursive};
    QFile file;
    QTextStream stream;
    QString baseName;
    QString pendingLine;
    bool appendMode = false;
    bool enabled = true;
    qint32 sizeLimit = 1048576;
    std::unique_ptr<Loger> notifier;
};

LogState &state()
{
    static LogState s;
    return s;
}

QString timestamp()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("[dd.MM.yyyy hh:mm:ss] "));
}

bool writable()
{
    return state().enabled && state().file.isOpen();
}

void archive(const QString &fileName)
{
    const QFileInfo info(fileName);
    const QString folder = info.absolutePath();
    QString candidate;
    for (int n = 1;; ++n) {
        candidate = folder + QDir::separator() + info.baseName() + QStringLiteral("_archieve_")
            + QString::number(n) + QLatin1Char('.') + info.completeSuffix();
        if (!QFileInfo::exists(candidate))
            break;
    }
    QFile current(fileName);
    if (!current.open(QIODevice::ReadWrite))
        return;
    QFile target(candidate);
    if (!target.open(QIODevice::WriteOnly))
        return;
    const QByteArray repaired = Loger::repairUtf8(current.readAll());
    if (target.write(repaired) != repaired.size() || !target.flush()) {
        // A half-written archive would take this number for good; the current file
        // still holds everything, so the next start tries again.
        target.close();
        target.remove();
        return;
    }
    target.close();
    current.resize(0);
}

} // namespace

QByteArray Loger::repairUtf8(const QByteArray &bytes)
{
    QTextCodec *codec = QTextCodec::codecForName("UTF-8");
    QTextCodec::ConverterState converter(QTextCodec::IgnoreHeader);
    const QString text = codec->toUnicode(bytes.constData(), bytes.size(), &converter);
    if (converter.invalidChars == 0 && converter.remainingChars == 0)
        return bytes;
    // A sequence cut off at the end of the data counts as invalid too.
    QString repaired = text;
    if (converter.remainingChars > 0)
        repaired.append(QChar(QChar::ReplacementCharacter));
    return repaired.toUtf8();
}

void Loger::setSizeLimit(qint32 bytes)
{
    QMutexLocker lock(&state().mutex);
    state().sizeLimit = bytes;
}

qint32 Loger::sizeLimit()
{
    QMutexLocker lock(&state().mutex);
    return state().sizeLimit;
}

Loger *Loger::notifier()
{
    QMutexLocker lock(&state().mutex);
    if (!state().notifier)
        state().notifier.reset(new Loger);
    return state().notifier.get();
}

void Loger::init(const QString &dir, bool withDate, bool append, const QString &baseName)
{
    LogState &s = state();
    QMutexLocker lock(&s.mutex);
    // The notifier stays: what listens to lineAdded keeps listening across a new file.
    close();
    s.appendMode = append;
    s.baseName = baseName;
    const QString suffix = (withDate && !append)
        ? QDateTime::currentDateTime().toString(QStringLiteral("_yyyyMMdd_hhmmss"))
        : QString();
    const QString fileName
        = QStringLiteral("%0%1%2%3.txt").arg(dir, QString(QDir::separator()), baseName, suffix);
    const QFileInfo info(fileName);
    if (info.isFile() && info.size() > s.sizeLimit)
        archive(fileName);

    s.file.setFileName(fileName);
    if (info.isDir()) {
        s.enabled = false;
        return;
    }
    // Every write goes to the end of the file, wherever another writer has left it: a
    // second copy refused at start logs its lines into the same file while the first one
    // keeps running, and neither may overwrite the other's lines.
    s.enabled = append ? s.file.open(QIODevice::ReadWrite | QIODevice::Append)
                       : s.file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    if (!s.enabled)
        return;
    if (append && s.file.size() > 0) {
        s.file.seek(0);
        const QByteArray original = s.file.readAll();
        const QByteArray repaired = repairUtf8(original);
        if (repaired != original) {
            s.file.resize(0);
            s.file.seek(0);
            s.file.write(repaired);
            s.file.flush();
        }
        s.file.seek(s.file.size());
    }
    s.stream.setDevice(&s.file);
    s.stream.setCodec("UTF-8");
    s.stream.setGenerateByteOrderMark(false);
    writeLine(QCoreApplication::translate("Loger", "Application started"));
}

void Loger::writeLine(const QString &text)
{
    LogState &s = state();
    QMutexLocker lock(&s.mutex);
    if (!writable())
        return;
    const QString line = timestamp() + text;
    s.pendingLine = line;
    s.stream << line << "\r\n";
    s.stream.flush();
    if (s.notifier)
        emit s.notifier->lineAdded(line);
    s.pendingLine.clear();
}

void Loger::write(const QString &text, bool withTimestamp)
{
    LogState &s = state();
    QMutexLocker lock(&s.mutex);
    if (!writable())
        return;
    const QString piece = withTimestamp ? timestamp() + text : text;
    s.pendingLine += piece;
    s.stream << piece;
    s.stream.flush();
}

void Loger::endLine()
{
    LogState &s = state();
    QMutexLocker lock(&s.mutex);
    if (!writable())
        return;
    s.stream << "\r\n";
    s.stream.flush();
    if (s.notifier)
        emit s.notifier->lineAdded(s.pendingLine);
    s.pendingLine.clear();
}

void Loger::close()
{
    LogState &s = state();
    QMutexLocker lock(&s.mutex);
    if (s.file.isOpen()) {
        writeLine(QCoreApplication::translate("Loger", "Log file closed"));
        if (s.appendMode)
            endLine();
        s.stream.setDevice(nullptr);
        s.file.close();
    }
    s.pendingLine.clear();
}

void Loger::removeOldFiles(int keepCount)
{
    LogState &s = state();
    QMutexLocker lock(&s.mutex);
    if (!s.enabled || s.file.fileName().isEmpty())
        return;
    QDir folder = QFileInfo(s.file.fileName()).absoluteDir();
    QFileInfoList entries = folder.entryInfoList({s.baseName + QStringLiteral("*.txt")},
                                                 QDir::Files | QDir::Hidden, QDir::Time);
    // The open log counts as one kept file but is never a candidate itself, even when an
    // archive carries a newer time (a clock set back, a copied file): deleting it would
    // lose this run's lines.
    int limit = qMax(0, keepCount);
    if (s.file.isOpen()) {
        const QString current = QFileInfo(s.file.fileName()).absoluteFilePath();
        for (int i = entries.size() - 1; i >= 0; --i) {
            if (entries.at(i).absoluteFilePath() == current)
                entries.removeAt(i);
        }
    }
    const QRegularExpression pattern(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(s.baseName) + QStringLiteral(".*\\.txt")));
    while (entries.size() > limit) {
        const QFileInfo oldest = entries.takeLast();
        if (pattern.match(oldest.fileName()).hasMatch())
            QFile::remove(oldest.absoluteFilePath());
    }
}

QString Loger::currentFileName()
{
    LogState &s = state();
    QMutexLocker lock(&s.mutex);
    return s.enabled ? s.file.fileName() : QString();
}
