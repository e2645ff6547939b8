#include "pagekit/placedwidgets.h"

#include <QLabel>
#include <QLineEdit>

QLabel *PlacedWidgets::label(QWidget *parent, const QString &text, const QRect &geometry)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(geometry);
    return label;
}

QLineEdit *PlacedWidgets::lineEdit(QWidget *parent, const QString &objectName,
                                   const QRect &geometry)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(objectName);
    field->setGeometry(geometry);
    return field;
}
