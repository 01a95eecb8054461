#include "statformat.h"

#include <QLocale>
#include <QObject>

namespace {

// One decimal in the user's locale. The default locale groups thousands ("1,024.0" in
// English), which the statistics texts must not show, so grouping is switched off here.
QString oneDecimal(double value)
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', 1);
}

// Shared by sizes and speeds: the value is either bytes or bits, the units differ. It is
// carried as a double so that eight times the largest byte count cannot overflow; every
// amount written as a whole number is small (or negative) enough to be exact.
QString scaled(double amount, const QString &megaText, const QString &kiloText,
               const QString &unitText)
{
    const double mega = amount / 1048576.0;
    if (mega > 1.0)
        return megaText.arg(oneDecimal(mega));
    const double kilo = amount / 1024.0;
    if (kilo > 1.0)
        return kiloText.arg(oneDecimal(kilo));
    return unitText.arg(QString::number(amount, 'f', 0));
}

} // namespace

QString formatDuration(const uint &seconds)
{
    const uint days = seconds / 86400;
    const uint hours = seconds % 86400 / 3600;
    const uint minutes = seconds % 3600 / 60;
    const uint secs = seconds % 60;

    QString text;
    if (days > 0)
        text += QString::number(days) + QObject::tr("d ");
    if (hours > 0 || !text.isEmpty())
        text += QString::number(hours) + QObject::tr(" h ");
    if (minutes > 0 || !text.isEmpty())
        text += QString::number(minutes) + QObject::tr(" m ");
    if (secs > 0 || !text.isEmpty())
        text += QString::number(secs) + QObject::tr(" s");
    return text;
}

QString formatSize(const qint64 &bytes)
{
    return scaled(double(bytes), QObject::tr("%0 MB"), QObject::tr("%0 KB"), QObject::tr("%0 B"));
}

QString formatSpeed(const qint64 &bytesPerSecond)
{
    return scaled(double(bytesPerSecond) * 8.0, QObject::tr("%0 Mb/s"), QObject::tr("%0 Kb/s"),
                  QObject::tr("%0 b/s"));
}
