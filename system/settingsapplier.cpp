#include "settingsapplier.h"

#include "platform.h"

#include <QFileInfo>
#include <QtDebug>

SettingsApplier::SettingsApplier(ApplyType type, const QVariantList &data, QObject *parent)
    : QObject(parent)
    , type(type)
    , data(data)
{ }

void SettingsApplier::init()
{
    bool result = false;
    switch (type) {
    case Apply_BlockOtherConOn:
    case Apply_BlockOtherConOff:
    case Apply_BlockOtherConOffForce:
        result = blockOtherConnections();
        break;
    case Apply_StartOnUserLogonOn:
    case Apply_StartOnUserLogonOff:
        result = changeSystemStartup();
        break;
    }
    emit sendResultData(result, short(type), QVariant());
    emit finished();
    deleteLater();
}

// The result is the script's own: it ends with a non-zero code when it could not put the
// system in the asked state, and a script that is not installed has changed nothing.
bool SettingsApplier::blockOtherConnections()
{
    NetworkLockStep step;
    switch (type) {
    case Apply_BlockOtherConOn:
        step = NetworkLockStep::Block;
        break;
    case Apply_BlockOtherConOff:
        step = NetworkLockStep::Unblock;
        break;
    case Apply_BlockOtherConOffForce:
        step = NetworkLockStep::EmergencyUnblock;
        break;
    default:
        qCritical("BlockOtherConnections: invalid type for Windows");
        return false;
    }
    const SystemCommand command = Platform::instance().networkLockCommand(
        step, data.value(0).toString(), data.value(1).toString());
    if (!QFileInfo(command.script).isFile())
        return false;
    return Platform::runToSuccess(command, WaitLimitMs);
}

bool SettingsApplier::changeSystemStartup()
{
    switch (type) {
    case Apply_StartOnUserLogonOn:
        return Platform::instance().addLogonStart(data.value(0).toString(),
                                                  data.value(1).toString(), WaitLimitMs);
    case Apply_StartOnUserLogonOff:
        return Platform::instance().removeLogonStart(WaitLimitMs);
    default:
        qCritical("ChangeSystemStartup: invalid operation for Windows");
        return false;
    }
}
