#include "mirrorcheck.h"

MirrorCheck parseMirrorCheck(const QByteArray &body)
{
    MirrorCheck check;
    const QStringList parts
        = QString::fromLatin1(body).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (parts.size() < 3)
        return check;
    check.valid = true;
    check.country = parts.at(2).simplified();
    check.listed = mirrorCountries().contains(check.country.toLower());
    return check;
}

QStringList mirrorCountries()
{
    return {QStringLiteral("china"), QStringLiteral("hong kong")};
}
