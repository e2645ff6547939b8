#include "lora/gwidedit.h"

#include <QMouseEvent>

GWIDEdit::GWIDEdit(QWidget *parent) : QLineEdit(parent) { }

void GWIDEdit::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit doubleClick();
    // Handled as a plain press: the line edit's own word selection is not wanted here.
    QWidget::mouseDoubleClickEvent(event);
}
