#pragma once

#include <QComboBox>

// A combo box whose popup opens as a plain list just below the rounded field, narrower by
// the insets so it sits inside the field's border.
class ComboBoxChangedPopup : public QComboBox
{
    Q_OBJECT

public:
    explicit ComboBoxChangedPopup(QWidget *parent = nullptr);

    void setPopupInsets(const int &left, const int &right, const int &top);
    int popupLeftInset() const { return leftInset; }
    int popupRightInset() const { return rightInset; }
    int popupTopOffset() const { return topOffset; }

    void showPopup() override;

private:
    int leftInset = 0;
    int rightInset = 0;
    int topOffset = 0;
};
