// kestrune-demo-settings DATA_DIR API_ADDRESS LOGIN PASSWORD PACKAGE_ID
//
// Prepares a data folder as a user's earlier run would have left it: the sign-in remembered
// (the password enciphered as the client stores it), the given subscription chosen, the
// automatic connection on, and the API reached through the emergency address, used by
// default. Exits 0 when settings.ini was written, 2 on wrong arguments, 1 when a section
// could not be written.

#include "core/settingsstore.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    QTextStream err(stderr);
    bool idOk = false;
    const int packageId = args.value(4).toInt(&idOk);
    if (args.size() != 5 || !idOk) {
        err << "usage: kestrune-demo-settings DATA_DIR API_ADDRESS LOGIN PASSWORD PACKAGE_ID\n";
        return 2;
    }
    if (!QDir().mkpath(args.at(0))) {
        err << "cannot create " << args.at(0) << "\n";
        return 1;
    }

    SettingsStore store(SettingsStore::fileNameIn(args.at(0)));
    GeneralSettings general;
    general.loginData.rememberMe = true;
    general.loginData.login = args.at(2);
    general.loginData.password = args.at(3);
    general.packageId = packageId;
    general.autoConnect = true;
    general.showStatOnConnect = false;

    EmergencyAddressSettings emergency;
    emergency.address = args.at(1);
    emergency.useByDefault = true;

    LanguageSettings language;
    language.language = 2; // English

    const bool written = store.saveLastVersion() && store.saveGeneral(general)
        && store.saveEmergencyAddress(emergency) && store.saveLanguage(language);
    if (!written) {
        err << "cannot write " << store.fileName() << "\n";
        return 1;
    }
    QTextStream(stdout) << store.fileName() << "\n";
    return 0;
}
