#include "ui/pagenavigation.h"

void PageHistory::enter(int index)
{
    m_returnPage = m_lastPage;
    if (index != Page_About && index != Page_Settings)
        m_lastPage = index;
}

bool subscriptionBackVisible(int returnPage, bool visibleNow)
{
    return returnPage == Page_Connection || (returnPage == Page_Subscription && visibleNow);
}

int manualChoicePage(int subscriptionType)
{
    switch (subscriptionType) {
    case 2:
        return Page_DoubleServers;
    case 1:
    case 3:
    case 4:
        return Page_Servers;
    default:
        return -1;
    }
}

bool signInAllowed(const QString &login, const QString &password)
{
    return !login.isEmpty() && !password.isEmpty();
}

int infoValuesRightMargin(bool scrollBarVisible)
{
    return scrollBarVisible ? 15 : 20;
}

QString loadingLabelName(int page, int connectionStatusIndex)
{
    switch (page) {
    case Page_Auth:
        return QStringLiteral("authLoadingLabel");
    case Page_Connection:
        if (connectionStatusIndex == Status_Busy)
            return QStringLiteral("vpnConLoadingLabel");
        if (connectionStatusIndex == Status_Checking)
            return QStringLiteral("vpnConCheckServAvailLoadingLabel");
        return QString();
    default:
        return QString();
    }
}
