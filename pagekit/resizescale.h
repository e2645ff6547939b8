#pragma once

#include <QSize>

// Proportional layout against a reference size: factor = 1 + (actual - reference)
// / reference per axis, and every scaled coordinate is the product truncated
// toward zero.
class ResizeScale
{
public:
    enum class Rounding { Hundredths, None };

    ResizeScale(const QSize &reference, const QSize &actual,
                Rounding rounding = Rounding::Hundredths);

    // 1 + (actual - reference) / reference, optionally to the nearest hundredth
    // (halves away from zero).
    static double factor(int actual, int reference, Rounding rounding = Rounding::Hundredths);
    // The product truncated toward zero.
    static int scaled(double factor, int value);

    double xFactor() const { return fx; }
    double yFactor() const { return fy; }
    int x(int value) const { return scaled(fx, value); }
    int y(int value) const { return scaled(fy, value); }

private:
    double fx;
    double fy;
};
