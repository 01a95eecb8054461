#include "statwidget.h"

#include "ui_statwidget.h"

#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <QVariantAnimation>

StatWidget::StatWidget(const QVariantList &params, QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::StatWidget)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_DeleteOnClose);
    // Labels let presses through, so the window can be dragged from anywhere except the
    // close button.
    const QList<QLabel *> labels = findChildren<QLabel *>();
    for (QLabel *label : labels)
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
    // Invisible until the fade-in starts, so the first frame never flashes at full opacity.
    setWindowOpacity(0.0);

    move(params.value(0).toPoint());

    connect(this, SIGNAL(closeWidget()), ui->closeButton, SLOT(click()));
    QTimer::singleShot(0, this, SLOT(startFadeInAnimation()));
}

StatWidget::~StatWidget()
{
    emit closed(pos());
    delete ui;
}

void StatWidget::dataTimeChanged(QString timeString)
{
    ui->timeLabel->setText(timeString);
}

void StatWidget::dataTrafficChanged(QString inString, QString outString)
{
    ui->trafficInLabel->setText(inString);
    ui->trafficOutLabel->setText(outString);
}

void StatWidget::dataSpeedChanged(QString inString, QString outString)
{
    ui->speedInLabel->setText(inString);
    ui->speedOutLabel->setText(outString);
}

void StatWidget::on_closeButton_clicked()
{
    close();
}

void StatWidget::startFadeInAnimation()
{
    auto *animation = new QVariantAnimation(this);
    animation->setStartValue(0.0);
    animation->setEndValue(1.0);
    animation->setDuration(200);
    connect(animation, SIGNAL(valueChanged(QVariant)), this,
            SLOT(fadeInAnimationValueChanged(QVariant)));
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

void StatWidget::fadeInAnimationValueChanged(QVariant value)
{
    setWindowOpacity(value.toReal());
}

void StatWidget::mousePressEvent(QMouseEvent *event)
{
    m_pressPos = event->pos();
    m_dragging = true;
    QFrame::mousePressEvent(event);
}

void StatWidget::mouseMoveEvent(QMouseEvent *event)
{
    // The press point stays under the cursor: the window follows by the distance the cursor
    // has moved away from it.
    if (m_dragging)
        move(pos() + (event->pos() - m_pressPos));
    QFrame::mouseMoveEvent(event);
}

void StatWidget::mouseReleaseEvent(QMouseEvent *event)
{
    m_dragging = false;
    QFrame::mouseReleaseEvent(event);
}
