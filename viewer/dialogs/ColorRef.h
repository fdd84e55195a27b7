#pragma once

#include "outside/OutsideTypes.h"

#include <QColor>

// COLORREF (0x00BBGGRR) to and from Qt's colours.
class ColorRef {
public:
    static QColor ToQColor(COLORREF c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
    static COLORREF FromQColor(const QColor& c)
    {
        return static_cast<COLORREF>(c.red()) | (static_cast<COLORREF>(c.green()) << 8) |
               (static_cast<COLORREF>(c.blue()) << 16);
    }
    static COLORREF Rgb(int r, int g, int b)
    {
        return static_cast<COLORREF>(r & 0xFF) | (static_cast<COLORREF>(g & 0xFF) << 8) |
               (static_cast<COLORREF>(b & 0xFF) << 16);
    }
};
