#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The mirror tool's configuration file, rebuilt from the service's reply. The reply may come
// over plain HTTP and the tool runs with administrator rights, so the file carries only the
// members this client knows, each checked: the tool listens on the loopback address only,
// ports are whole numbers from 1 to 65535 and the method is one that authenticates what it
// carries. Members such as "plugin" (a program the tool starts) or "acl" never reach it.
struct MirrorConfig
{
    // The file's content; empty when the reply cannot be used.
    QByteArray text;
    // The members left out, by name only (their values may carry anything), made loggable.
    QStringList dropped;
    // Why the reply cannot be used: the member missing or unusable, or empty when the reply is
    // not a JSON object at all.
    QString unusable;
};

MirrorConfig rebuildMirrorConfig(const QByteArray &reply);

// The encryption methods of the mirror tool that authenticate the data (AEAD).
QStringList mirrorToolMethods();
