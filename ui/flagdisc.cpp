#include "flagdisc.h"

#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>

namespace {

QPixmap drawDisc(const QString &path, const QSize &size, qreal ratio)
{
    QImage picture(path);
    if (picture.isNull())
        return QPixmap();
    picture = picture.convertToFormat(QImage::Format_ARGB32);
    picture.setDevicePixelRatio(ratio);
    // The middle of the flag, wide enough that the disc shows more than a stripe.
    const QImage scaled = picture.scaled(QSize(2 * size.width(), size.height()) * ratio,
                                         Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
    const QSize crop = size * ratio;
    const QImage middle
        = scaled.copy((scaled.width() - crop.width()) / 2, (scaled.height() - crop.height()) / 2,
                      crop.width(), crop.height());
    const int side = int(size.height() * ratio);
    QImage canvas(side, side, QImage::Format_ARGB32);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath disc;
    disc.addEllipse(QRectF(0, 0, crop.width(), crop.height()));
    painter.setClipPath(disc);
    painter.drawImage(0, 0, middle);
    painter.end();
    canvas.setDevicePixelRatio(ratio);
    return QPixmap::fromImage(canvas);
}

} // namespace

void setFlagDisc(const QString &path, QLabel *label)
{
    if (!label)
        return;
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    const QSize size = label->size().isEmpty() ? label->minimumSize() : label->size();
    if (size.isEmpty()) {
        label->clear();
        return;
    }
    // A list shows the same few flags on many rows: each disc is drawn once.
    const QString key = QStringLiteral("flagdisc:%1:%2x%3@%4")
                            .arg(path)
                            .arg(size.width())
                            .arg(size.height())
                            .arg(ratio);
    QPixmap disc;
    if (!QPixmapCache::find(key, &disc)) {
        disc = drawDisc(path, size, ratio);
        QPixmapCache::insert(key, disc);
    }
    if (disc.isNull())
        label->clear();
    else
        label->setPixmap(disc);
}

QString flagPath(const QString &countryIso)
{
    const QString code = countryIso.trimmed().toLower();
    const bool letters = code.size() == 2 && code.at(0).isLetter() && code.at(1).isLetter()
        && code.at(0).unicode() < 128 && code.at(1).unicode() < 128;
    return QStringLiteral(":/flag/images/flags/") + (letters ? code : QStringLiteral("none"))
        + QStringLiteral(".png");
}
