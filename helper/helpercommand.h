#pragma once

#include <QStringList>

// The verbs of kestrunevpn-helper, each in its one shape; anything else is refused with exit
// status 2 before anything is read:
//   openvpn-start CONFIG HOST PASSWORD_FILE   openvpn-stop
//   netlock-block TEMP   netlock-unblock TEMP   netlock-emergency
//   check-config CONFIG
class HelperCommand
{
public:
    static int run(const QStringList &arguments);
};
