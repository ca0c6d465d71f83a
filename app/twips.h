#pragma once
// The window's geometry is designed in twips (1/1440 inch); the screen's real resolution turns
// them into pixels.

#include <QWidget>

#include <cmath>

namespace korvane::app {

inline double twipsPerPixelX(const QWidget* w) { return 1440.0 / (w ? w->logicalDpiX() : 96); }
inline double twipsPerPixelY(const QWidget* w) { return 1440.0 / (w ? w->logicalDpiY() : 96); }
inline int pxX(const QWidget* w, long twips) { return static_cast<int>(std::lround(static_cast<double>(twips) / twipsPerPixelX(w))); }
inline int pxY(const QWidget* w, long twips) { return static_cast<int>(std::lround(static_cast<double>(twips) / twipsPerPixelY(w))); }
inline long twipsX(const QWidget* w, int px) { return std::lround(px * twipsPerPixelX(w)); }
inline long twipsY(const QWidget* w, int px) { return std::lround(px * twipsPerPixelY(w)); }

// x rounded to the nearest whole number, halves to even, as every layout product is.
inline long roundHalfEven(double x) { return static_cast<long>(std::nearbyint(x)); }

} // namespace korvane::app
