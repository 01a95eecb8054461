#include "terminationwatcher.h"

// Windows ends a GUI program through its windows (WM_CLOSE, WM_ENDSESSION), which Qt turns
// into the usual close and quit events; there is nothing more to watch.
TerminationWatcher::TerminationWatcher(QObject *parent)
    : QObject(parent)
{ }

TerminationWatcher::~TerminationWatcher() = default;

void TerminationWatcher::readSignal() { }
