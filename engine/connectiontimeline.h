#pragma once

#include <QByteArray>
#include <QString>

// The last connection attempts as the application log tells them: each attempt begins with
// the request for the address before the tunnel ([7]) and lists, with their times, the
// mirror tool configuration ([10]), the OpenVPN configuration ([9]), OpenVPN's own states,
// the address through the tunnel ([8]) and the line that ended it. Steps are recognised by
// their request numbers and the "[OpenVPN]:" prefix, which the log keeps in every language.
QString connectionTimeline(const QByteArray &applicationLog, int lastAttempts = 10);
