#pragma once

#include "api/subscription.h"

#include <QString>
#include <QVector>

// Which subscription the subscription page offers, and whether the sign-in takes it
// without asking.
struct SubscriptionChoice
{
    bool usable = false; // at least one subscription is active: the list box is enabled
    int preselected = -1; // index into the list; -1 when nothing is usable
    bool autoNext = false; // a subscription was remembered and the list is usable
};

// savedPackageId: the id chosen last time, -1 when none. A remembered subscription is
// preselected unless it is paused (an expired one is still preselected); otherwise the
// first active one.
SubscriptionChoice chooseSubscription(const QVector<Subscription> &subscriptions,
                                      int savedPackageId);

// The text a subscription is shown with: its name, or its type name when it has none.
QString subscriptionDisplayText(const Subscription &subscription);

// The tool tip of a greyed-out list entry; empty for a subscription that can be chosen.
QString subscriptionDisabledToolTip(qint16 status);
