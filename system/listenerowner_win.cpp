#include "system/listenerowner.h"

// Windows does not tell here who owns a listening socket.
bool ListenerOwner::mayReceivePassword(quint16)
{
    return true;
}
