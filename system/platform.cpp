#include "platform.h"

// The one place that chooses the implementation for the system being built.
#ifdef Q_OS_WIN
#include "windowsplatform.h"
using SystemPlatform = WindowsPlatform;
#else
#include "posixplatform.h"
using SystemPlatform = PosixPlatform;
#endif

Platform &Platform::instance()
{
    static SystemPlatform platform;
    return platform;
}
