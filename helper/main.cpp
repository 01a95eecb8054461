#include "helper/helpercommand.h"

#include <QCoreApplication>

// kestrunevpn-helper: the steps of Kestrune VPN that need root on Linux, run through pkexec.
int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    return HelperCommand::run(QCoreApplication::arguments().mid(1));
}
