#pragma once

#include <QString>
#include <QStringList>

// One program to run with its arguments. `script` names the installed file the command runs,
// when it runs one, so that a missing file is caught before anything starts.
struct SystemCommand
{
    QString program;
    QStringList arguments;
    QString script;
};
