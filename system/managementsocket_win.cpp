#include "system/tcpmanagementsocket.h"

ManagementSocket *ManagementSocket::create(QObject *parent)
{
    return new TcpManagementSocket(parent);
}
