#pragma once

#include <QStringList>

class QWidget;

// Finds texts that the widgets' fixed geometry cuts off.
class TextFit
{
public:
    // Describes every label, push button, check box, radio button, combo box
    // item (each item, not only the current one) and line edit at any depth
    // below root, hidden ones included, whose text needs more room than its
    // widget gives it: the width inside the style's margins and indicators, or
    // for word-wrapped and multi-line labels the height. Empty when all fit.
    static QStringList clippedTexts(const QWidget *root);
};
