#pragma once

#include "system/systemcommand.h"

#include <QByteArray>
#include <QString>
#include <QVector>

// The network lock's self-test, run by the privileged helper ("netlock-selftest TEMP") and
// read back here. The helper prints one line a check, "<a-d> PASS|FAIL <detail>"; only lines
// of that shape count, and the test passes only when all four checks came back and passed.
class LockSelfTest
{
public:
    struct Check
    {
        char letter = 0;
        bool passed = false;
        QString detail;
    };
    struct Result
    {
        QVector<Check> checks;
        bool passed = false;
        QString error; // why the helper gave no usable answer
    };

    static constexpr int TimeLimitMs = 60000;
    static constexpr const char *Checks = "abcd";

    // The helper itself when the client is the administrator, else through pkexec.
    static SystemCommand command(const QString &programFolder, const QString &tempFolder,
                                 bool elevated);
    static Result parse(const QByteArray &output);
    // Runs the helper and waits for it, within TimeLimitMs. Blocks: call it off the GUI thread.
    static Result run(const QString &programFolder, const QString &tempFolder);

    // What a check tests, in the user's language.
    static QString title(char letter);
    // One line a check ("(a) title: passed — detail"), then what to do when one failed.
    static QStringList lines(const Result &result);
    // Keeps the result, with its time, in the temp folder for the diagnostics archive.
    static bool save(const QString &tempFolder, const Result &result);
};
