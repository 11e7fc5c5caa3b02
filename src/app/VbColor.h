#pragma once

#include <QColor>

// Colours are kept as single integers with red in the low byte, then green, then
// blue (0x00BBGGRR), because the settings, the verdict tests and the export compare
// these numbers directly; they become QColors only for painting.
namespace tav {

inline constexpr int vbBlack = 0;
inline constexpr int vbRed = 0x0000FF;
inline constexpr int vbGreen = 0x00FF00;
inline constexpr int vbYellow = 0x00FFFF;
inline constexpr int vbWhite = 0xFFFFFF;

// Bits above the blue byte are ignored.
inline QColor toQColor(int vbColor) {
    return QColor(vbColor & 0xFF, (vbColor >> 8) & 0xFF, (vbColor >> 16) & 0xFF);
}

// Alpha is dropped.
inline int toVbColor(const QColor& color) {
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

} // namespace tav
