#pragma once

#include <QRect>
#include <QString>

class QLabel;
class QLineEdit;
class QWidget;

// The boxes lay out their children by fixed geometry; these create one child
// at its place.
class PlacedWidgets
{
public:
    static QLabel *label(QWidget *parent, const QString &text, const QRect &geometry);
    // The object name lets tests and the resize code find the field.
    static QLineEdit *lineEdit(QWidget *parent, const QString &objectName, const QRect &geometry);
};
