#pragma once

#include "networklockstep.h"
#include "systemcommand.h"

#include <QString>

// The Linux command lines, built as pure functions so that they are tested without running
// them.
namespace PosixCommands {

// "<program folder>/scripts/nft_block.sh" and its siblings.
QString networkLockScript(NetworkLockStep step, const QString &programDir);

// /bin/sh running the script (with the temp folder for block and unblock) as root; through
// pkexec, which asks for an administrator and runs the script by itself, for anyone else.
SystemCommand networkLockCommand(NetworkLockStep step, const QString &programDir,
                                 const QString &tempDir, bool runningAsRoot);

// The autostart template with the program's path (quoted as a desktop entry's Exec
// argument) and its folder put in.
QString fillAutostartTemplate(const QString &templateText, const QString &executablePath,
                              const QString &programDir);

// $XDG_CONFIG_HOME/autostart/kestrunevpn.desktop, ~/.config when the variable is unset or
// not absolute.
QString autostartEntryPath(const QString &xdgConfigHome, const QString &homeDir);

} // namespace PosixCommands
