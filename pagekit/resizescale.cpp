#include "pagekit/resizescale.h"

#include <cstdlib>

namespace {

// Products like 1.15 * 20 come out as 22.999999999999996 in binary floating
// point; the nudge keeps such exact results from truncating one pixel short.
constexpr double productNudge = 1e-9;

} // namespace

ResizeScale::ResizeScale(const QSize &reference, const QSize &actual, Rounding rounding)
    : fx(factor(actual.width(), reference.width(), rounding)),
      fy(factor(actual.height(), reference.height(), rounding))
{ }

double ResizeScale::factor(int actual, int reference, Rounding rounding)
{
    if (reference <= 0)
        return 1.0;
    // 1 + (actual - reference) / reference is actual / reference.
    if (rounding == Rounding::None)
        return double(actual) / double(reference);
    // Hundredths in integer arithmetic, so that an exact half (1.045) is
    // recognised as one and goes away from zero.
    const long long scaledActual = 100LL * actual;
    const long long magnitude = (2 * std::llabs(scaledActual) + reference) / (2LL * reference);
    return double(scaledActual < 0 ? -magnitude : magnitude) / 100.0;
}

int ResizeScale::scaled(double factor, int value)
{
    const double product = factor * value;
    return static_cast<int>(product >= 0 ? product + productNudge : product - productNudge);
}
