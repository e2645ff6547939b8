#pragma once

class QPalette;

// The picture set that fits the system colour scheme: light pictures, or the
// "_w" variants on a dark scheme.
class ColorScheme
{
public:
    enum Scheme { Light = 1, Dark = 2 };

    static Scheme current();
    // Dark when the palette's window colour is darker than its text colour.
    static Scheme fromPalette(const QPalette &palette);
};
