#pragma once

#include <QString>

// The main window's pages, in the order of its page stack.
// The connection page's status stack: nothing going on, connected, connecting or
// disconnecting (or a failure with its verdict), and the availability check.
enum ConnectionStatusPage {
    Status_Idle = 0,
    Status_Connected = 1,
    Status_Busy = 2,
    Status_Checking = 3
};

enum MainPage {
    Page_SignIn = 0,
    Page_Auth = 1,
    Page_Subscription = 2,
    Page_Connection = 3,
    Page_Servers = 4,
    Page_Info = 5,
    Page_DoubleServers = 6,
    Page_About = 7,
    Page_Settings = 8,
    Page_Count = 9
};

// Where About and Settings lead back to. Both are "overlay" pages: they never become the
// page to return to, so opening one from the other still returns to the page before both.
class PageHistory
{
public:
    // Records that the main stack now shows index.
    void enter(int index);

    int returnPage() const { return m_returnPage; }
    int lastPage() const { return m_lastPage; }

private:
    int m_lastPage = Page_SignIn;
    int m_returnPage = Page_SignIn;
};

// The subscription page's Back button makes sense only when the user came from the
// connection page to change the subscription; a visit to Settings or About keeps it.
bool subscriptionBackVisible(int returnPage, bool visibleNow);

// The page a manual server choice leads to for a subscription type, or -1 when the type is
// unknown (an error for the user).
int manualChoicePage(int subscriptionType);

// Sign-in needs both a login and a password.
bool signInAllowed(const QString &login, const QString &password);

// Right margin of the information page's values: narrower while the scroll bar takes room.
int infoValuesRightMargin(bool scrollBarVisible);

// Object name of the loading label whose dots move on the page on show, or an empty
// string when nothing is loading there. connectionStatusIndex is the index of the
// connection page's state stack.
QString loadingLabelName(int page, int connectionStatusIndex);
