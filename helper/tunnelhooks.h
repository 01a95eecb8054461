#pragma once

#include "helper/helpercontext.h"

#include <QMap>
#include <QString>
#include <QStringList>

// The helper as OpenVPN's own up and down hook: OpenVPN, started by openvpn-start, calls
//   kestrunevpn-helper dns-up|dns-down DEVICE MTU ... (the arguments OpenVPN adds)
// with the tunnel's settings in its environment; dns-restore takes back what a tunnel left
// behind when OpenVPN could not call dns-down (killed, or the machine went down), at the next
// start, stop or boot. Exit statuses: 0 done, 1 failed (taken back, reason on standard
// error), 2 refused.
class TunnelHooks
{
public:
    explicit TunnelHooks(const HelperContext &context)
        : m_context(context)
    { }

    // The options that make OpenVPN call the helper at path; empty when OpenVPN's command
    // reader could not take the path as one word.
    static QStringList openVpnArguments(const QString &helper);

    // hook: "up" or "down"; environment: the process's. Only OpenVPN calls these: its
    // script_type must name the hook, and pkexec (which clears the environment) never does.
    int run(const QString &hook, const QMap<QString, QString> &environment) const;
    int restore() const;

private:
    HelperContext m_context;
};
