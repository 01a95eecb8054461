#pragma once

#include <QStyledItemDelegate>

// Paints items without the dotted focus frame (the server rows show their own state); while
// the keyboard works the list, the current row gets an outline instead.
class NoFocusRectDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
};
