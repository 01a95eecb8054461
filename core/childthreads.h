#pragma once

class QObject;

// Ends the threads an object owns before it goes: each is asked to leave its loop and waited
// for up to `waitMs`; one still running then is let go (it deletes itself when it ends) and
// the log says so, since deleting a running thread with its owner would abort the process.
void endChildThreads(QObject *owner, int waitMs);
