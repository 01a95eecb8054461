#pragma once

#include <QString>
#include <QtGlobal>

// Texts of the connection statistics, shared by the information page and the statistics
// window. The unit words pass through the translator in the context "QObject".
//
// Sizes and speeds take 64-bit values: an int-sized caller converts implicitly, and byte
// totals of a long-lived tunnel pass 2 GiB, where a 32-bit count would wrap to a negative
// text.

// "1d 2 h 3 m 4 s"; units before the first non-zero one are left out, 0 gives "".
QString formatDuration(const uint &seconds);

// "1.5 MB", "1.5 KB" or "1023 B": a unit is used only when the value is strictly greater
// than one of it; one decimal with the default locale's decimal separator, never a group
// separator.
QString formatSize(const qint64 &bytes);

// The same for bits per second: "1.0 Mb/s", "1.0 Kb/s" or "800 b/s".
QString formatSpeed(const qint64 &bytesPerSecond);
