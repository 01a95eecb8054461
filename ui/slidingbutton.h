#pragma once

#include <QWidget>

class QStateMachine;

namespace Ui {
class SlidingButton;
}

// A two-position toggle: a knob that slides over a track showing both position texts.
// Owners follow its position by counting buttonClicked(); there is no getter on purpose,
// the page stack it drives is the source of truth.
class SlidingButton : public QWidget
{
    Q_OBJECT

public:
    SlidingButton(const int &width, const int &height, QWidget *parent);
    ~SlidingButton() override;

    void setTexts(const QString &left, const QString &right);

signals:
    void buttonClicked();

public slots:
    void on_button_clicked();
    void buttonUnlocker();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Ui::SlidingButton *ui;
    // Duration of the knob's slide; clicks are refused for as long, so the knob's text and
    // position cannot get out of step.
    int knobDuration = 125;
    QStateMachine *machine;
};
