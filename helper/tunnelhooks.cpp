#include "helper/tunnelhooks.h"

#include "helper/tunnelguard.h"

#include <QRegularExpression>

namespace {

int reportAll(const QString &verb, const QStringList &log, bool ok)
{
    for (const QString &line : log)
        HelperContext::report(verb + QStringLiteral(": ") + line);
    return ok ? 0 : 1;
}

} // namespace

QStringList TunnelHooks::openVpnArguments(const QString &helper)
{
    static const QRegularExpression Plain(
        QRegularExpression::anchoredPattern(QStringLiteral("/[A-Za-z0-9/._+-]+")));
    if (!Plain.match(helper).hasMatch())
        return {};
    return {QStringLiteral("--script-security"),
            QStringLiteral("2"),
            QStringLiteral("--up"),
            helper + QStringLiteral(" dns-up"),
            QStringLiteral("--down"),
            helper + QStringLiteral(" dns-down")};
}

int TunnelHooks::run(const QString &hook, const QMap<QString, QString> &environment) const
{
    const QString verb = QStringLiteral("dns-") + hook;
    if (environment.value(QStringLiteral("script_type")) != hook
        || environment.contains(QStringLiteral("PKEXEC_UID"))) {
        HelperContext::report(verb + QStringLiteral(" is OpenVPN's hook, not a command"));
        return 2;
    }
    TunnelGuard::Places places;
    places.stateFolder = m_context.lockStateFolder;
    TunnelGuard guard(places);
    QStringList log;
    const bool ok = hook == QLatin1String("up") ? guard.up(environment, &log) : guard.down(&log);
    return reportAll(verb, log, ok);
}

int TunnelHooks::restore() const
{
    TunnelGuard::Places places;
    places.stateFolder = m_context.lockStateFolder;
    QStringList log;
    const bool ok = TunnelGuard(places).down(&log);
    return reportAll(QStringLiteral("dns-restore"), log, ok);
}
