#include "system/localmanagementsocket.h"

ManagementSocket *ManagementSocket::create(QObject *parent)
{
    return new LocalManagementSocket(parent);
}
