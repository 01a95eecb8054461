#include "ui/nofocusrectdelegate.h"

#include "ui/keyboardfocusring.h"

#include <QPainter>

void NoFocusRectDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                const QModelIndex &index) const
{
    QStyleOptionViewItem plain(option);
    plain.state &= ~QStyle::State_HasFocus;
    QStyledItemDelegate::paint(painter, plain, index);

    // The mouse sees the row's own hover and selection; the keyboard needs to see which row
    // the arrow keys have reached.
    if (!(option.state & QStyle::State_HasFocus) || !option.widget
        || !option.widget->property(KeyboardFocusRing::Property).toBool())
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(QColor(0x2b, 0x2b, 0x2b), 1.5));
    painter->setBrush(Qt::NoBrush);
    painter->drawRoundedRect(QRectF(option.rect).adjusted(1.5, 1.5, -1.5, -1.5), 6, 6);
    painter->restore();
}
