#pragma once

#include <QString>

// The pages are laid out in fixed pixels. A font embedded in the program gives
// every machine the metrics that layout was fitted to, whatever font the
// desktop would pick; both the program and the tests install it from here.
class ApplicationFont
{
public:
    static const QString family;
    // The smallest size at which every text of every page fits in Russian and
    // in English; no text of the program is set smaller than 8 pt.
    static constexpr double pointSize = 8.5;

    // Registers the embedded faces, makes them the application font and lets
    // them stand in for "Segoe UI", the about window's family, where that is
    // missing. Needs the application object; returns whether the faces loaded.
    static bool install();
};
