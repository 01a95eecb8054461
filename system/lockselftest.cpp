#include "lockselftest.h"

#include "system/platform.h"

#include <algorithm>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSaveFile>

SystemCommand LockSelfTest::command(const QString &programFolder, const QString &tempFolder,
                                    bool elevated)
{
    const QString helper = programFolder + QStringLiteral("/kestrunevpn-helper");
    const QStringList arguments {QStringLiteral("netlock-selftest"), tempFolder};
    if (elevated)
        return {helper, arguments, helper};
    return {QStringLiteral("/usr/bin/pkexec"), QStringList {helper} + arguments, helper};
}

LockSelfTest::Result LockSelfTest::parse(const QByteArray &output)
{
    static const QRegularExpression line(QStringLiteral("^([a-d]) (PASS|FAIL) (.{0,2000})$"));
    Result result;
    for (const QByteArray &raw : output.split('\n')) {
        const QRegularExpressionMatch match = line.match(QString::fromUtf8(raw).trimmed());
        if (!match.hasMatch())
            continue;
        const char letter = match.captured(1).at(0).toLatin1();
        const bool seen = std::any_of(result.checks.cbegin(), result.checks.cend(),
                                      [letter](const Check &c) { return c.letter == letter; });
        if (!seen)
            result.checks.append(
                {letter, match.captured(2) == QLatin1String("PASS"), match.captured(3)});
    }
    result.passed = result.checks.size() == int(qstrlen(Checks))
        && std::all_of(result.checks.cbegin(), result.checks.cend(),
                       [](const Check &c) { return c.passed; });
    return result;
}

LockSelfTest::Result LockSelfTest::run(const QString &programFolder, const QString &tempFolder)
{
    const SystemCommand cmd = command(programFolder, tempFolder, Platform::instance().isElevated());
    Result result;
    if (!QFileInfo(cmd.script).isExecutable()) {
        result.error
            = QCoreApplication::translate("LockSelfTest", "The lock's helper is not installed: %1")
                  .arg(QDir::toNativeSeparators(cmd.script));
        return result;
    }
    QProcess helper;
    helper.start(cmd.program, cmd.arguments, QIODevice::ReadOnly);
    if (!helper.waitForFinished(TimeLimitMs)) {
        helper.kill();
        helper.waitForFinished(5000);
        result.error = QCoreApplication::translate("LockSelfTest",
                                                   "The lock's helper did not answer in time.");
        return result;
    }
    result = parse(helper.readAllStandardOutput());
    if (result.checks.isEmpty())
        result.error
            = QCoreApplication::translate("LockSelfTest", "The lock's helper gave no result: %1")
                  .arg(QString::fromUtf8(helper.readAllStandardError().left(300)).trimmed());
    return result;
}

QString LockSelfTest::title(char letter)
{
    switch (letter) {
    case 'a':
        return QCoreApplication::translate("LockSelfTest",
                                           "The lock's rules are loaded and unchanged");
    case 'b':
        return QCoreApplication::translate("LockSelfTest",
                                           "Connections outside the VPN are refused");
    case 'c':
        return QCoreApplication::translate("LockSelfTest", "Blocked packets");
    case 'd':
        return QCoreApplication::translate("LockSelfTest",
                                           "Loopback and the VPN server are let through");
    }
    return QString();
}

QStringList LockSelfTest::lines(const Result &result)
{
    QStringList out;
    for (const Check &check : result.checks) {
        out << QStringLiteral("(%1) %2: %3 — %4")
                   .arg(QString(QLatin1Char(check.letter)), title(check.letter),
                        check.passed ? QCoreApplication::translate("LockSelfTest", "passed")
                                     : QCoreApplication::translate("LockSelfTest", "FAILED"),
                        check.detail);
    }
    for (const char *letter = Checks; *letter; ++letter) {
        const bool seen = std::any_of(result.checks.cbegin(), result.checks.cend(),
                                      [letter](const Check &c) { return c.letter == *letter; });
        if (!seen && result.error.isEmpty())
            out << QStringLiteral("(%1) %2: %3")
                       .arg(QString(QLatin1Char(*letter)), title(*letter),
                            QCoreApplication::translate("LockSelfTest", "no answer"));
    }
    if (!result.error.isEmpty())
        out << result.error;
    if (!result.passed)
        out << QCoreApplication::translate("LockSelfTest",
                                           "Apply the lock again (switch it off and on in "
                                           "Settings), or use the emergency unblock.");
    return out;
}

bool LockSelfTest::save(const QString &tempFolder, const Result &result)
{
    QSaveFile file(QDir(tempFolder).filePath(QStringLiteral("netlock_selftest.txt")));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QDateTime::currentDateTime().toString(Qt::ISODate).toUtf8() + '\n');
    file.write(lines(result).join(QLatin1Char('\n')).toUtf8() + '\n');
    return file.commit();
}
