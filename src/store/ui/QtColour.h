#pragma once
// The program's colours (00BBGGRR, or a system colour's identifier) as Qt
// colours and back.
#include "store/ColourNotation.h"

#include <QColor>

inline QColor ToQColor(TColor colour)
{
    const TColor rgb = ColorToRGB(colour);
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

inline TColor FromQColor(const QColor& c) { return TColor(c.red() | (c.green() << 8) | (c.blue() << 16)); }
