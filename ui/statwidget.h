#pragma once

#include <QFrame>
#include <QPoint>
#include <QVariant>
#include <QVariantList>

namespace Ui {
class StatWidget;
}

// The small floating window with the connection time, speed and traffic. It stays on top,
// has no frame, fades in, is dragged with the mouse from anywhere but its close button and
// deletes itself when closed, reporting where it was so that the next one opens there.
class StatWidget : public QFrame
{
    Q_OBJECT

public:
    // params[0]: the position (QPoint) to open at.
    StatWidget(const QVariantList &params, QWidget *parent);
    ~StatWidget() override;

signals:
    // Emitted while the window is destroyed, with its last position.
    void closed(QPoint position);
    // Asks the window to close itself (connected to the close button's click).
    void closeWidget();

public slots:
    void dataTimeChanged(QString timeString);
    void dataTrafficChanged(QString inString, QString outString);
    void dataSpeedChanged(QString inString, QString outString);

private slots:
    void on_closeButton_clicked();
    void startFadeInAnimation();
    void fadeInAnimationValueChanged(QVariant value);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    Ui::StatWidget *ui;
    QPoint m_pressPos;
    bool m_dragging = false;
};
