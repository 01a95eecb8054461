#pragma once

#include "helper/tunneldns.h"

#include <QByteArray>
#include <QString>

// /etc/resolv.conf while a tunnel is up: the file that was there first (or the link, when it
// was a symbolic link) is kept in the state folder, the tunnel's servers are written in its
// place, and the kept one comes back at disconnect or, after a crash, at the next boot. Only
// the first apply keeps anything, so a second connection never keeps the tunnel's own file.
// A resolv.conf that is a mount point (ip netns exec bind-mounts one) cannot be replaced by
// a rename and is written in place.
class ResolvConfFile
{
public:
    ResolvConfFile(const QString &path, const QString &stateFolder);

    static QByteArray render(const TunnelDns &dns);

    // On failure the file is as it was before and error says why.
    bool apply(const TunnelDns &dns, QString *error);
    // Puts back what apply kept; true, and nothing done, when nothing was kept.
    bool restore(QString *error);
    bool holdsOriginal() const;

private:
    QString m_path;
    QString m_stateFolder;
    QString m_savedText; // the original's content
    QString m_savedLink; // the original's link target
};
