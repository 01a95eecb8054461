#pragma once

#include <QObject>
#include <QVariant>
#include <QVariantList>

// Applies one setting that changes the operating system (the network lock or start at user
// logon) on a thread of its own: init() performs it, reports the result through
// sendResultData() and deletes the applier.
class SettingsApplier : public QObject
{
    Q_OBJECT

public:
    enum ApplyType {
        Apply_BlockOtherConOn = 0,
        Apply_BlockOtherConOff = 1,
        Apply_BlockOtherConOffForce = 2,
        Apply_StartOnUserLogonOn = 3,
        Apply_StartOnUserLogonOff = 4
    };
    Q_ENUM(ApplyType)

    // A script or system tool that has not ended after this long has failed.
    static constexpr int WaitLimitMs = 60000;

    // data: [program folder, temp folder] for every type but Apply_StartOnUserLogonOff,
    // which needs none.
    SettingsApplier(ApplyType type, const QVariantList &data, QObject *parent = nullptr);

    ApplyType type;
    QVariantList data;

public slots:
    void init();

signals:
    // The result of the operation, the type as given and an invalid value.
    void sendResultData(bool result, short type, QVariant data);
    void finished();

private:
    bool blockOtherConnections();
    bool changeSystemStartup();
};
