#include "window/waitinganimation.h"

#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QPropertyAnimation>

WaitingAnimation::WaitingAnimation(QWidget *parent)
    : QWidget(parent), iconLabel(new QLabel(this)), icon(QStringLiteral(":/Icon/WaitIcon.svg")),
      opacityEffect(new QGraphicsOpacityEffect(this)),
      animation(new QPropertyAnimation(opacityEffect, "opacity", this))
{
    iconLabel->setPixmap(icon.scaled(sidePx, sidePx, Qt::KeepAspectRatio, Qt::FastTransformation));
    iconLabel->setGeometry(0, 0, sidePx, sidePx);

    setFixedSize(sidePx, sidePx);
    // Centred once, on the parent's size at this moment.
    if (parent)
        move(parent->width() / 2 - sidePx / 2, parent->height() / 2 - sidePx / 2);

    iconLabel->setGraphicsEffect(opacityEffect);
    animation->setDuration(defaultFadeMs);
    animation->setStartValue(maxOpacity);
    animation->setEndValue(minOpacity);

    hide();
    connect(animation, &QPropertyAnimation::finished, this, &WaitingAnimation::running);
}

void WaitingAnimation::setDuration(int fadeMs)
{
    animation->setDuration(fadeMs);
}

void WaitingAnimation::start()
{
    active = true;
    show();
    animation->start();
}

void WaitingAnimation::stop()
{
    active = false;
    hide();
    animation->stop();
}

void WaitingAnimation::running()
{
    if (!active)
        return;
    if (animation->endValue().toDouble() == 0.0) {
        animation->setStartValue(minOpacity);
        animation->setEndValue(maxOpacity);
    } else {
        animation->setStartValue(maxOpacity);
        animation->setEndValue(minOpacity);
    }
    animation->start();
}
