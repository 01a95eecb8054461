#include "ui/comboboxchangedpopup.h"

#include <QAbstractItemView>
#include <QApplication>

ComboBoxChangedPopup::ComboBoxChangedPopup(QWidget *parent)
    : QComboBox(parent)
{ }

void ComboBoxChangedPopup::setPopupInsets(const int &left, const int &right, const int &top)
{
    leftInset = left;
    rightInset = right;
    topOffset = top;
}

void ComboBoxChangedPopup::showPopup()
{
    // The open animation would start at Qt's own geometry and visibly jump to ours.
    const bool animate = QApplication::isEffectEnabled(Qt::UI_AnimateCombo);
    QApplication::setEffectEnabled(Qt::UI_AnimateCombo, false);

    QWidget *container = view()->parentWidget();
    container->setFixedWidth(qMax(1, width() - leftInset - rightInset));
    QComboBox::showPopup();
    container->move(container->x() + leftInset, container->y() + topOffset);

    QApplication::setEffectEnabled(Qt::UI_AnimateCombo, animate);
}
