#include "helper/helpercontext.h"

#include <cstdio>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

#include <QFileInfo>

namespace {

QString trustedOverride(const char *name, const QString &fallback, bool trusted,
                        QStringList *overrides)
{
    const QString value = QString::fromLocal8Bit(std::getenv(name));
    if (!trusted || !value.startsWith(QLatin1Char('/')))
        return fallback;
    *overrides << QLatin1String(name) + QLatin1Char('=') + value;
    return value;
}

} // namespace

HelperContext HelperContext::fromProcess()
{
    HelperContext context;
    const char *pkexecUid = std::getenv("PKEXEC_UID");
    bool numeric = false;
    const uint fromPkexec = pkexecUid ? QByteArray(pkexecUid).toUInt(&numeric) : 0;
    // PKEXEC_UID means something only to a process that pkexec made root.
    const bool viaPkexec = pkexecUid && ::geteuid() == 0;
    context.caller = viaPkexec && numeric ? uid_t(fromPkexec) : ::getuid();
    if (viaPkexec && !numeric)
        context.caller = uid_t(65534); // nobody: owns none of the files it will be asked for
    context.callerGroup = context.caller == ::getuid() ? ::getgid() : gid_t(65534);
    if (context.caller != ::getuid()) {
        struct passwd entry;
        struct passwd *found = nullptr;
        char buffer[4096];
        if (::getpwuid_r(context.caller, &entry, buffer, sizeof buffer, &found) == 0 && found)
            context.callerGroup = found->pw_gid;
    }
    context.programFolder
        = QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).absolutePath();
    const bool testRoot = ::getuid() == 0 && !pkexecUid;
    context.runFolder = trustedOverride("KESTRUNE_CONTROL_DIR", QStringLiteral("/run/kestrunevpn"),
                                        testRoot, &context.overrides);
    context.lockStateFolder
        = trustedOverride("KESTRUNE_NETLOCK_STATE_DIR", QStringLiteral("/var/lib/kestrunevpn"),
                          testRoot, &context.overrides);
    return context;
}

void HelperContext::report(const QString &text)
{
    QByteArray line = text.toUtf8();
    for (char &c : line) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = '?';
    }
    std::fprintf(stderr, "kestrunevpn-helper: %s\n", line.constData());
    std::fflush(stderr);
}
