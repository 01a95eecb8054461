#include "ui/slidingbutton.h"

#include "ui_slidingbutton.h"

#include <QEvent>
#include <QPropertyAnimation>
#include <QSignalTransition>
#include <QState>
#include <QStateMachine>
#include <QTimer>

SlidingButton::SlidingButton(const int &width, const int &height, QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::SlidingButton)
    , machine(new QStateMachine(this))
{
    ui->setupUi(this);
    setFixedSize(width, height);
    ui->backGroundWidget->setFixedSize(width, height);
    ui->backGroundWidget->move(0, 0);
    ui->leftValueLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    ui->rightValueLabel->setAttribute(Qt::WA_TransparentForMouseEvents);

    const int knobWidth = width / 2;
    ui->button->setFixedSize(knobWidth, height);
    ui->button->move(0, 0);
    ui->button->setText(ui->leftValueLabel->text());
    ui->button->raise();

    ui->backGroundWidget->installEventFilter(this);

    auto *left = new QState(machine);
    auto *right = new QState(machine);
    left->assignProperty(ui->button, "geometry", QRect(0, 0, knobWidth, height));
    right->assignProperty(ui->button, "geometry", QRect(width / 2, 0, knobWidth, height));

    QSignalTransition *toRight = left->addTransition(ui->button, SIGNAL(clicked()), right);
    QSignalTransition *toLeft = right->addTransition(ui->button, SIGNAL(clicked()), left);
    auto *toRightAnim = new QPropertyAnimation(ui->button, "geometry", machine);
    toRightAnim->setDuration(knobDuration);
    auto *toLeftAnim = new QPropertyAnimation(ui->button, "geometry", machine);
    toLeftAnim->setDuration(knobDuration);
    toRight->addAnimation(toRightAnim);
    toLeft->addAnimation(toLeftAnim);

    machine->setInitialState(left);
    machine->start();
}

SlidingButton::~SlidingButton()
{
    delete ui;
}

void SlidingButton::setTexts(const QString &left, const QString &right)
{
    ui->leftValueLabel->setText(left);
    ui->rightValueLabel->setText(right);
    ui->button->setText(left);
}

void SlidingButton::on_button_clicked()
{
    if (ui->button->text() == ui->leftValueLabel->text())
        ui->button->setText(ui->rightValueLabel->text());
    else
        ui->button->setText(ui->leftValueLabel->text());

    // The state machine has already taken this click; further ones are refused until the
    // knob has arrived.
    ui->button->blockSignals(true);
    QTimer::singleShot(knobDuration, this, SLOT(buttonUnlocker()));
    emit buttonClicked();
}

void SlidingButton::buttonUnlocker()
{
    ui->button->blockSignals(false);
}

bool SlidingButton::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->backGroundWidget && event->type() == QEvent::MouseButtonPress)
        ui->button->click();
    return QWidget::eventFilter(watched, event);
}
