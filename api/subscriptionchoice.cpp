#include "subscriptionchoice.h"

#include <QCoreApplication>

SubscriptionChoice chooseSubscription(const QVector<Subscription> &subscriptions,
                                      int savedPackageId)
{
    SubscriptionChoice choice;
    int firstActive = -1;
    for (int i = 0; i < subscriptions.size(); ++i) {
        if (subscriptions.at(i).status == 1) {
            firstActive = i;
            break;
        }
    }
    if (firstActive < 0)
        return choice;

    choice.usable = true;
    choice.preselected = firstActive;
    if (savedPackageId >= 0) {
        for (int i = 0; i < subscriptions.size(); ++i) {
            if (subscriptions.at(i).id == savedPackageId && subscriptions.at(i).status != 2) {
                choice.preselected = i;
                break;
            }
        }
        choice.autoNext = true;
    }
    return choice;
}

QString subscriptionDisplayText(const Subscription &subscription)
{
    return subscription.name.isEmpty() ? subscription.typeName : subscription.name;
}

QString subscriptionDisabledToolTip(qint16 status)
{
    if (status == 2)
        return QCoreApplication::translate("MainWindow", "This package has been paused");
    if (status == 3)
        return QCoreApplication::translate("MainWindow", "This package has been expired");
    return QString();
}
