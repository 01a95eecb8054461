#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// A system program the helper runs as root: named by its absolute path, with a fixed
// environment (the system folders as PATH, the C locale) so that nothing of the caller's
// reaches it, its input written, waited for within a bound and killed past it.
namespace SystemProgram {

enum class Errors { Forward, Discard, Merge };

struct Result
{
    bool ok = false; // ended by itself in time with exit code 0
    QByteArray output; // standard output (and error, with Errors::Merge)
    QString failure; // why it could not start or finish in time; empty otherwise
};

Result run(const QString &program, const QStringList &arguments, const QByteArray &input,
           int timeoutMs, Errors errors);

// The first of `paths` that is an executable file; empty when none is.
QString find(const QStringList &paths);

// nftables' program where Debian and other systems install it; empty when it is missing.
QString nft();

} // namespace SystemProgram
