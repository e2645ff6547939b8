#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

class QWidget;

// Layout checks shared by the page tests.
class WidgetCheck
{
public:
    // Describes every pair of visible sibling widgets (at any depth below root)
    // whose geometries intersect; empty when nothing overlaps. Widgets listed in
    // allowed (by object name) may overlap anything, for deliberate stacking.
    static QStringList overlappingSiblings(const QWidget *root, const QStringList &allowed = {});
    // Describes every visible child that reaches outside its parent's rectangle.
    static QStringList outsideParent(const QWidget *root);
    // Both of the above: every overlap and every child outside its parent.
    static QStringList layoutProblems(const QWidget *root);
    // Names of the listed descendants of root that are missing, hidden or one flat
    // colour in root's rendering: nothing of them reached the screen.
    static QStringList unpainted(QWidget *root, const QStringList &names);
};
