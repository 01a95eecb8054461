#include "ui/comboboxchangedpopup.h"

#include <QAbstractItemDelegate>
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

void ComboBoxChangedPopup::preparePopup()
{
    if (m_prepared)
        return;
    m_prepared = true;
    if (m_delegate)
        setItemDelegate(m_delegate);
    QWidget *popup = view()->window();
    popup->setWindowFlags(Qt::Popup | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint);
    popup->setAttribute(Qt::WA_TranslucentBackground, false);
    view()->setTextElideMode(Qt::ElideRight);
    view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void ComboBoxChangedPopup::showPopup()
{
    preparePopup();
    // The open animation would start at Qt's own geometry and visibly jump to ours.
    const bool animate = QApplication::isEffectEnabled(Qt::UI_AnimateCombo);
    QApplication::setEffectEnabled(Qt::UI_AnimateCombo, false);

    QWidget *container = view()->parentWidget();
    container->setFixedWidth(qMax(1, width() - leftInset - rightInset));
    QComboBox::showPopup();
    container->move(container->x() + leftInset, container->y() + topOffset);

    QApplication::setEffectEnabled(Qt::UI_AnimateCombo, animate);
}
