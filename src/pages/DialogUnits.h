#pragma once
// Dialog templates are laid out in dialog units of their font, "MS Shell Dlg" 8. At 96 dpi
// that font's base units are 6 x 13 pixels: a horizontal unit is 6/4 pixel, a vertical one
// 13/8. Every page converts its template rectangles with these helpers only, rounding the
// way the platform maps dialog rectangles.

#include <QRect>

inline constexpr int kDialogBaseUnitX = 6;
inline constexpr int kDialogBaseUnitY = 13;

// Pixels of a horizontal / vertical length in dialog units (rounded half away from zero).
int DluToPixelsX(int units);
int DluToPixelsY(int units);

// A template rectangle (x, y, width, height in dialog units) in pixels.
QRect DluRect(int x, int y, int width, int height);
