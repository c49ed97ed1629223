// Colours are written in the system's own $00BBGGRR form and converted here, in one place.
#pragma once

#include <QColor>

namespace kolmara::ui {

// $00CDCDE7 is red 0xE7, green 0xCD, blue 0xCD.
constexpr QRgb rgbFromBgr(quint32 bgr)
{
    return qRgb(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

inline QColor colorFromBgr(quint32 bgr)
{
    return QColor(rgbFromBgr(bgr));
}

// Grid headers and caption cells.
constexpr quint32 kCaptionColor = 0x00CDCDE7;

}  // namespace kolmara::ui
