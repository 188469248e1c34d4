#pragma once
// The two colour matrices of the image button, applied to every pixel with components taken
// from 0 to 1 and limited to that range afterwards; alpha is kept.
//   brightening: r, g, b each become 1.05 * value + 0.05
//   grey:        r, g, b each become 0.3 * r + 0.59 * g + 0.11 * b

#include <QImage>

QImage ApplyBrightenMatrix(const QImage& image);
QImage ApplyGreyMatrix(const QImage& image);
