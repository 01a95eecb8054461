#pragma once

#include <QComboBox>

class QAbstractItemDelegate;

// A combo box whose popup opens as a plain list just below the rounded field, narrower by
// the insets so it sits inside the field's border.
class ComboBoxChangedPopup : public QComboBox
{
    Q_OBJECT

public:
    explicit ComboBoxChangedPopup(QWidget *parent = nullptr);

    void setPopupInsets(const int &left, const int &right, const int &top);
    // The list's item delegate. The popup itself (a window of its own) is only made, and
    // given this delegate and its plain frameless look, when it first opens.
    void setPopupItemDelegate(QAbstractItemDelegate *delegate) { m_delegate = delegate; }
    int popupLeftInset() const { return leftInset; }
    int popupRightInset() const { return rightInset; }
    int popupTopOffset() const { return topOffset; }

    void showPopup() override;

private:
    void preparePopup();

    QAbstractItemDelegate *m_delegate = nullptr;
    bool m_prepared = false;
    int leftInset = 0;
    int rightInset = 0;
    int topOffset = 0;
};
