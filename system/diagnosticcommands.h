#pragma once

#include "system/systemcommand.h"

#include <QVector>

// A system report that goes into the diagnostics bundle: the command that prints it, the
// file it is saved as, and the file read in its place when it is a plain file.
struct DiagnosticCommand
{
    QString fileName;
    SystemCommand command;
    QString readFile;
};

// The reports of this platform about the network: the lock's firewall table, the routes
// and the resolver configuration. Each command only reads; none changes the system.
QVector<DiagnosticCommand> diagnosticCommands();

// The operating system's own description of itself (name and release), as a file to read.
QString osReleaseFile();
