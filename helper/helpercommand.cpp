#include "helper/helpercommand.h"

#include "helper/helpercontext.h"
#include "helper/netlockselftest.h"
#include "helper/networklock.h"
#include "helper/openvpnlauncher.h"
#include "helper/tunnelhooks.h"

#include <QProcessEnvironment>

namespace {

const char *const Usage = "usage: kestrunevpn-helper openvpn-start CONFIG PASSWORD_FILE | "
                          "openvpn-stop | netlock-block TEMP | netlock-unblock TEMP | "
                          "netlock-emergency | netlock-selftest TEMP | check-config CONFIG | "
                          "dns-restore";

bool absolute(const QString &path)
{
    return path.startsWith(QLatin1Char('/'));
}

} // namespace

int HelperCommand::run(const QStringList &arguments)
{
    const QString verb = arguments.value(0);
    const int count = arguments.size() - 1;
    const HelperContext context = HelperContext::fromProcess();
    if (verb == QLatin1String("openvpn-start") && count == 2)
        return OpenVpnLauncher(context).start(arguments.at(1), arguments.at(2));
    if (verb == QLatin1String("openvpn-stop") && count == 0)
        return OpenVpnLauncher(context).stop();
    if (verb == QLatin1String("check-config") && count == 1)
        return OpenVpnLauncher(context).checkConfig(arguments.at(1));
    if (verb == QLatin1String("netlock-block") && count == 1 && absolute(arguments.at(1)))
        return NetworkLock(context).block(arguments.at(1));
    if (verb == QLatin1String("netlock-unblock") && count == 1 && absolute(arguments.at(1)))
        return NetworkLock(context).unblock();
    if (verb == QLatin1String("netlock-selftest") && count == 1 && absolute(arguments.at(1)))
        return NetLockSelfTest(context).run(arguments.at(1));
    if (verb == QLatin1String("netlock-emergency") && count == 0)
        return NetworkLock(context).emergency();
    // OpenVPN adds the tunnel's device and addresses to its hooks' words; they are not used.
    if (verb == QLatin1String("dns-up") || verb == QLatin1String("dns-down")) {
        QMap<QString, QString> environment;
        const QProcessEnvironment system = QProcessEnvironment::systemEnvironment();
        const QStringList names = system.keys();
        for (const QString &name : names)
            environment.insert(name, system.value(name));
        return TunnelHooks(context).run(verb.mid(4), environment);
    }
    if (verb == QLatin1String("dns-restore") && count == 0)
        return OpenVpnLauncher(context).restore();
    HelperContext::report(QLatin1String(Usage));
    return 2;
}
