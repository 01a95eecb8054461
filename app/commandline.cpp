#include "commandline.h"

#include "app/startup.h"
#include "engine/diagnosticsarchive.h"
#include "system/lockselftest.h"

#include <cstdio>
#include <cstring>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace {

int saveDiagnostics(const QString &path)
{
    DiagnosticsSources sources;
    sources.dataDir = findDataFolder();
    sources.programDir = QCoreApplication::applicationDirPath();
    sources.homePath = QDir::homePath();
    const QVector<DiagnosticsFile> files = DiagnosticsBundle::collect(sources).files(true);
    const QString error = writeDiagnosticsArchive(path, files);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "Diagnostics not saved to %s: %s\n", qPrintable(path),
                     qPrintable(error));
        return 1;
    }
    const QLocale c = QLocale::c();
    for (const DiagnosticsFile &file : files)
        std::printf("%10s  %s\n", qPrintable(c.toString(file.content.size())),
                    qPrintable(file.name));
    std::printf("Saved %s (%s bytes)\n", qPrintable(QDir::toNativeSeparators(path)),
                qPrintable(c.toString(QFileInfo(path).size())));
    return 0;
}

int checkLock()
{
    const QString temp = QDir(findDataFolder()).filePath(QStringLiteral("temp"));
    const LockSelfTest::Result result
        = LockSelfTest::run(QCoreApplication::applicationDirPath(), temp);
    LockSelfTest::save(temp, result);
    const QStringList lines = LockSelfTest::lines(result);
    for (const QString &line : lines)
        std::printf("%s\n", qPrintable(line));
    return result.passed ? 0 : 1;
}

} // namespace

int runCommandLineTool(int argc, char *argv[])
{
    const bool diagnostics = argc >= 2 && std::strcmp(argv[1], "--diagnostics") == 0;
    const bool lock = argc >= 2 && std::strcmp(argv[1], "--check-lock") == 0;
    if (!diagnostics && !lock)
        return -1;
    if ((diagnostics && argc != 3) || (lock && argc != 2)) {
        std::fprintf(stderr, "Usage: kestrunevpn --diagnostics FILE | kestrunevpn --check-lock\n");
        return 2;
    }
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("kestrune"));
    QCoreApplication::setApplicationName(QStringLiteral("kestrunevpn"));
    return diagnostics ? saveDiagnostics(QString::fromLocal8Bit(argv[2])) : checkLock();
}
