#pragma once

#include <QPixmap>
#include <QWidget>

class QGraphicsOpacityEffect;
class QLabel;
class QPropertyAnimation;

// Busy indicator: a 100 x 100 picture that fades out and in until stopped.
class WaitingAnimation : public QWidget
{
    Q_OBJECT

public:
    static constexpr int sidePx = 100;
    static constexpr int defaultFadeMs = 1000;

    explicit WaitingAnimation(QWidget *parent);

    void setDuration(int fadeMs);

public slots:
    void start();
    void stop();

private slots:
    void running();

private:
    QLabel *iconLabel;
    QPixmap icon;
    QGraphicsOpacityEffect *opacityEffect;
    QPropertyAnimation *animation;
    double maxOpacity = 1.0;
    double minOpacity = 0.0;
    bool active = false;
};
