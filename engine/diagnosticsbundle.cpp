#include "diagnosticsbundle.h"

#include "buildconfig.h"
#include "core/storedpassword.h"
#include "engine/connectiontimeline.h"
#include "system/diagnosticcommands.h"
#include "system/platform.h"

#include <algorithm>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QSysInfo>

namespace {

const int CommandStartMs = 2000;
const int CommandRunMs = 5000;

QByteArray readSmall(const QString &path, qint64 limit = DiagnosticsBundle::FileLimit)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.read(limit);
}

QByteArray missing(const QString &path)
{
    return QStringLiteral("(no file %1)\n").arg(QDir::toNativeSeparators(path)).toUtf8();
}

QByteArray fileOrNote(const QString &path, qint64 limit)
{
    return QFile::exists(path) ? DiagnosticsBundle::tail(path, limit) : missing(path);
}

// Cuts a text from its start to `limit` bytes, beginning at a whole line.
QByteArray keepEnd(const QByteArray &text, qint64 limit)
{
    if (text.size() <= limit)
        return text;
    QByteArray end = text.right(int(limit));
    const int newline = end.indexOf('\n');
    return newline < 0 ? QByteArray() : end.mid(newline + 1);
}

QByteArray firstLine(const QByteArray &text)
{
    const int end = text.indexOf('\n');
    return (end < 0 ? text : text.left(end)).trimmed();
}

QString lastAvailabilityLine(const QByteArray &log)
{
    const char *source = "Availability check finished, %0 of %1 servers are reachable";
    QStringList patterns;
    for (const QString &text :
         {QString::fromLatin1(source), QCoreApplication::translate("MainWindow", source)}) {
        QString pattern = QRegularExpression::escape(text);
        pattern.replace(QLatin1String("%0"), QLatin1String("\\d+"));
        pattern.replace(QLatin1String("%1"), QLatin1String("\\d+"));
        patterns << pattern;
    }
    const QRegularExpression line(
        QStringLiteral("^\\[[^\\]]*\\] (?:%1)\\s*$").arg(patterns.join(QLatin1Char('|'))),
        QRegularExpression::MultilineOption);
    QString last;
    auto it = line.globalMatch(QString::fromUtf8(log));
    while (it.hasNext())
        last = it.next().captured().trimmed();
    return last;
}

QByteArray versions(const DiagnosticsSources &sources)
{
    const auto &platform = Platform::instance();
    const SystemCommand openvpn {sources.programDir + QStringLiteral("/ovpn/")
                                     + platform.executableName("openvpn"),
                                 {QStringLiteral("--version")},
                                 {}};
    const SystemCommand ssLocal {sources.programDir + QStringLiteral("/shadowsocks/")
                                     + platform.executableName(QStringLiteral("ss-local")),
                                 {QStringLiteral("-h")},
                                 {}};
    QByteArray ssLine;
    const QList<QByteArray> ssLines = sources.runCommand(ssLocal).split('\n');
    for (const QByteArray &line : ssLines) {
        if (line.contains("shadowsocks-libev")) {
            ssLine = line.trimmed();
            break;
        }
    }
    QByteArray out;
    out += "Client: " + QByteArray(BuildConfig::AppVersion) + '\n';
    out += "Qt: " + QByteArray(qVersion()) + " (built with " QT_VERSION_STR ")\n";
    out += "OpenVPN: " + firstLine(sources.runCommand(openvpn)) + '\n';
    out += "ss-local: " + (ssLine.isEmpty() ? firstLine(sources.runCommand(ssLocal)) : ssLine)
        + '\n';
    out += "Kernel: " + QSysInfo::kernelType().toUtf8() + ' ' + QSysInfo::kernelVersion().toUtf8()
        + '\n';
    out += "System: " + QSysInfo::prettyProductName().toUtf8() + "\n\n";
    const QString osRelease = osReleaseFile();
    if (!osRelease.isEmpty())
        out += "== " + osRelease.toUtf8() + " ==\n" + readSmall(osRelease);
    return out;
}

// The secrets the data folder holds, whatever else the caller knows.
void addStoredSecrets(const QString &dataDir, QVector<QPair<QString, QByteArray>> *secrets)
{
    const QString password = QStringLiteral("password");
    QSettings settings(QDir(dataDir).filePath(QStringLiteral("settings.ini")),
                       QSettings::IniFormat);
    const QString stored = settings.value(QStringLiteral("Password")).toString();
    const QString login = settings.value(QStringLiteral("Login")).toString();
    secrets->append({password, stored.toUtf8()});
    secrets->append(
        {password,
         StoredPassword::decryptPassword(stored, StoredPassword::keyByteForLogin(login)).toUtf8()});

    const QDir temp(QDir(dataDir).filePath(QStringLiteral("temp")));
    secrets->append({QStringLiteral("management password"),
                     readSmall(temp.filePath(QStringLiteral("openvpn_pswd.data")), 256).trimmed()});
    const QJsonObject mirror
        = QJsonDocument::fromJson(readSmall(temp.filePath(QStringLiteral("ss_config.json"))))
              .object();
    secrets->append({QStringLiteral("mirror password"),
                     mirror.value(QStringLiteral("password")).toString().toUtf8()});
}

} // namespace

QByteArray DiagnosticsBundle::tail(const QString &path, qint64 limit)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    const qint64 size = file.size();
    if (size <= limit)
        return file.read(limit);
    // One byte more than the limit: the line cut in two is dropped, unless the cut falls
    // exactly after a line end.
    file.seek(size - limit - 1);
    const QByteArray end = file.read(limit + 1);
    const int newline = end.indexOf('\n');
    return newline < 0 ? QByteArray() : end.mid(newline + 1);
}

QByteArray DiagnosticsBundle::settingsWithoutSecrets(const QByteArray &ini)
{
    static const QRegularExpression password(QStringLiteral("^(\\s*Password\\s*=).*$"),
                                             QRegularExpression::MultilineOption
                                                 | QRegularExpression::CaseInsensitiveOption);
    QString text = QString::fromUtf8(ini);
    text.replace(password, QStringLiteral("\\1[password removed]"));
    return text.toUtf8();
}

QByteArray DiagnosticsBundle::configWithoutKeys(const QByteArray &config,
                                                QList<QByteArray> *removed)
{
    // The inline blocks that hold keys or credentials; certificates are public and stay.
    static const QRegularExpression block(
        QStringLiteral("(<(key|tls-auth|tls-crypt|tls-crypt-v2|secret|pkcs12|auth-user-pass|"
                       "http-proxy-user-pass)>)([\\s\\S]*?)(</\\2>|$)"),
        QRegularExpression::CaseInsensitiveOption);
    const QString text = QString::fromUtf8(config);
    QString out;
    int last = 0;
    auto it = block.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        if (removed && !match.captured(3).trimmed().isEmpty())
            removed->append(match.captured(3).trimmed().toUtf8());
        out += text.midRef(last, match.capturedStart() - last);
        out += match.captured(1) + QStringLiteral("\n[key removed]\n") + match.captured(4);
        last = match.capturedEnd();
    }
    out += text.midRef(last);
    return out.toUtf8();
}

QByteArray DiagnosticsBundle::runReadOnly(const SystemCommand &command)
{
    // System tools often lie outside an ordinary user's search path.
    QString program = command.program;
    if (!program.contains(QLatin1Char('/'))) {
        const QString found = QStandardPaths::findExecutable(program);
        program = !found.isEmpty()
            ? found
            : QStandardPaths::findExecutable(
                program, {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
    }
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program.isEmpty() ? command.program : program, command.arguments,
                  QIODevice::ReadOnly);
    if (!process.waitForStarted(CommandStartMs))
        return QStringLiteral("(could not run %1: %2)\n")
            .arg(command.program, process.errorString())
            .toUtf8();
    if (!process.waitForFinished(CommandRunMs)) {
        process.kill();
        process.waitForFinished(CommandStartMs);
        return process.read(FileLimit) + "\n(stopped after "
            + QByteArray::number(CommandRunMs / 1000) + " s)\n";
    }
    QByteArray out = process.read(FileLimit);
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        out += "(exit code " + QByteArray::number(process.exitCode()) + ")\n";
    return out;
}

DiagnosticsBundle DiagnosticsBundle::collect(const DiagnosticsSources &given)
{
    DiagnosticsSources sources = given;
    if (!sources.runCommand)
        sources.runCommand = &DiagnosticsBundle::runReadOnly;
    DiagnosticsBundle bundle;
    bundle.m_home = sources.homePath;
    bundle.m_kept = sources.serverAddresses;
    const QDir data(sources.dataDir);
    const QDir temp(data.filePath(QStringLiteral("temp")));

    bundle.m_secrets.append({QStringLiteral("service token"), sources.serviceToken.toUtf8()});
    bundle.m_secrets.append({QStringLiteral("password"), sources.accountPassword.toUtf8()});
    addStoredSecrets(sources.dataDir, &bundle.m_secrets);

    const QString appLogPath = data.filePath(QStringLiteral("logs/kestrunevpn_log.txt"));
    const QByteArray appLog = fileOrNote(appLogPath, LogLimit);
    bundle.m_raw.append({QStringLiteral("logs/kestrunevpn_log.txt"), appLog});
    bundle.m_raw.append(
        {QStringLiteral("logs/openvpn_log.txt"),
         fileOrNote(data.filePath(QStringLiteral("logs/openvpn_log.txt")), LogLimit)});

    const QString settingsPath = data.filePath(QStringLiteral("settings.ini"));
    bundle.m_raw.append({QStringLiteral("settings.ini"),
                         QFile::exists(settingsPath)
                             ? settingsWithoutSecrets(readSmall(settingsPath))
                             : missing(settingsPath)});

    const QString configPath = temp.filePath(QStringLiteral("openvpn_config.ovpn"));
    QList<QByteArray> keys;
    const QByteArray config = QFile::exists(configPath)
        ? configWithoutKeys(readSmall(configPath), &keys)
        : missing(configPath);
    for (const QByteArray &key : qAsConst(keys))
        bundle.m_secrets.append({QStringLiteral("private key"), key});
    // The servers the configuration names are the service's own addresses, never the user's.
    static const QRegularExpression remote(QStringLiteral("^\\s*remote\\s+(\\S+)"),
                                           QRegularExpression::MultilineOption);
    auto remotes = remote.globalMatch(QString::fromUtf8(config));
    while (remotes.hasNext())
        bundle.m_kept << remotes.next().captured(1);
    bundle.m_raw.append({QStringLiteral("openvpn_config.ovpn"), config});

    bundle.m_raw.append({QStringLiteral("versions.txt"), versions(sources)});
    for (const DiagnosticCommand &report : diagnosticCommands()) {
        const QByteArray output = report.readFile.isEmpty()
            ? "$ " + report.command.program.toUtf8() + ' '
                + report.command.arguments.join(QLatin1Char(' ')).toUtf8() + '\n'
                + sources.runCommand(report.command)
            : fileOrNote(report.readFile, FileLimit);
        bundle.m_raw.append({report.fileName, output});
    }

    const QString selfTest = temp.filePath(QLatin1String(SelfTestResultFile));
    bundle.m_raw.append({QStringLiteral("netlock-selftest.txt"),
                         QFile::exists(selfTest) ? readSmall(selfTest)
                                                 : QByteArray("No network lock self-test has "
                                                              "been run.\n")});
    const QString availability = lastAvailabilityLine(appLog);
    bundle.m_raw.append({QStringLiteral("availability-check.txt"),
                         availability.isEmpty()
                             ? QByteArray("No availability check in the application log.\n")
                             : availability.toUtf8() + '\n'});
    bundle.m_raw.append(
        {QStringLiteral("connection-timeline.txt"), connectionTimeline(appLog).toUtf8()});
    return bundle;
}

QVector<DiagnosticsFile> DiagnosticsBundle::files(bool hideAddresses) const
{
    DiagnosticsRedactor redactor;
    for (const auto &secret : m_secrets)
        redactor.addSecret(secret.first, secret.second);
    for (const QString &address : m_kept)
        redactor.addKeptAddress(address);
    redactor.setHomePath(m_home);
    redactor.setHideAddresses(hideAddresses);

    QVector<DiagnosticsFile> out;
    qint64 total = 0;
    for (const DiagnosticsFile &file : m_raw) {
        const bool isLog = file.name.startsWith(QLatin1String("logs/"));
        DiagnosticsFile clean {
            file.name, keepEnd(redactor.redact(file.content), isLog ? LogLimit : FileLimit)};
        total += clean.content.size();
        out.append(clean);
    }
    // Whatever grew in the redaction comes off the start of the largest file.
    while (total > ContentLimit) {
        auto largest = std::max_element(out.begin(), out.end(),
                                        [](const DiagnosticsFile &a, const DiagnosticsFile &b) {
                                            return a.content.size() < b.content.size();
                                        });
        const qint64 before = largest->content.size();
        largest->content = keepEnd(largest->content, before - (total - ContentLimit));
        total -= before - largest->content.size();
    }

    QByteArray summary = "Removed before saving (kind: places):\n";
    const QMap<QString, int> counts = redactor.removedCounts();
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        summary += "  " + it.key().toUtf8() + ": " + QByteArray::number(it.value()) + '\n';
    if (counts.isEmpty())
        summary += "  nothing\n";
    summary += "Home folder shown as \"~\". Public addresses other than the VPN servers' are ";
    summary += hideAddresses ? "hidden.\n" : "shown.\n";
    out.append({QStringLiteral("redaction.txt"), summary});
    return out;
}
