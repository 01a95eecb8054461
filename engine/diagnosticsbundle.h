#pragma once

#include "engine/diagnosticsredactor.h"
#include "system/systemcommand.h"

#include <functional>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

struct DiagnosticsFile
{
    QString name;
    QByteArray content;
};

// Where a report's material comes from. The window adds what only it knows (the service
// token, the password typed in, the servers of the account); the command line has only the
// data folder.
struct DiagnosticsSources
{
    QString dataDir;
    QString programDir;
    QString homePath;
    QString serviceToken;
    QString accountPassword;
    QStringList serverAddresses;
    // Runs a read-only system command and gives its output; tests put their own in its place.
    std::function<QByteArray(const SystemCommand &)> runCommand;
};

// A problem report that needs no network: logs, settings and the last configuration without
// their secrets, versions, the network state, the last lock self-test and availability
// check, and a timeline of the last connections. Collecting reads files and runs commands
// (seconds at most); choosing what to hide and writing are separate, so a dialog can show
// the files with their sizes before anything is saved.
class DiagnosticsBundle
{
public:
    static constexpr qint64 LogLimit = 2 * 1024 * 1024;
    static constexpr qint64 FileLimit = 256 * 1024;
    static constexpr qint64 ArchiveLimit = 5 * 1024 * 1024;
    // Room left in the archive for its own headers and directory.
    static constexpr qint64 ContentLimit = ArchiveLimit - 64 * 1024;
    // Where the network lock self-test leaves its last result, in the temp folder.
    static constexpr const char *SelfTestResultFile = "netlock_selftest.txt";

    static DiagnosticsBundle collect(const DiagnosticsSources &sources);

    // The files as they go into the archive: secrets, keys and the home folder removed, public
    // addresses other than the servers' hidden when asked, all together within ContentLimit.
    QVector<DiagnosticsFile> files(bool hideAddresses) const;

    // The last `limit` bytes of a file, starting at a whole line.
    static QByteArray tail(const QString &path, qint64 limit);
    // settings.ini without the stored password.
    static QByteArray settingsWithoutSecrets(const QByteArray &ini);
    // An OpenVPN configuration without its inline key blocks; `removed` gets their contents.
    static QByteArray configWithoutKeys(const QByteArray &config, QList<QByteArray> *removed);
    // Runs a command for at most a few seconds and gives what it printed, or why it could not.
    static QByteArray runReadOnly(const SystemCommand &command);

private:
    QVector<DiagnosticsFile> m_raw;
    QVector<QPair<QString, QByteArray>> m_secrets;
    QStringList m_kept;
    QString m_home;
};
