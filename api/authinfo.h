#pragma once

#include <QString>

// The account fields that reply [2] carries.
struct AuthInfo
{
    QString authToken;
    int userId = 0;
    QString userEmail;
    QString userName;
};
