#pragma once

#include <QStyledItemDelegate>

// Paints items without the dotted focus frame; the server rows show their own state.
class NoFocusRectDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
};
