#include "app/resizescale.h"

#include <cmath>

ResizeScale::ResizeScale(const QSize &reference, const QSize &actual, Rounding rounding)
    : fx(factor(actual.width(), reference.width(), rounding)),
      fy(factor(actual.height(), reference.height(), rounding))
{ }

double ResizeScale::factor(int actual, int reference, Rounding rounding)
{
    if (reference == 0)
        return 1.0;
    const double raw = 1.0 + double(actual - reference) / double(reference);
    if (rounding == Rounding::None)
        return raw;
    return std::round(raw * 100.0) / 100.0;
}

int ResizeScale::scaled(double factor, int value)
{
    return static_cast<int>(factor * value);
}
