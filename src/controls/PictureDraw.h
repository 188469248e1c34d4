#pragma once
// Drawing a picture into a rectangle of another size without smearing its rim: the corners
// keep their size, the edges stretch along one axis and the middle along both.

#include <QImage>
#include <QMargins>
#include <QRect>

class QPainter;

// Draws `picture` over `target` (device-independent pixels). `border` is the unstretched rim
// in the picture's device-independent pixels; it shrinks where the target is too small.
void DrawNineSlice(QPainter& painter, const QRect& target, const QImage& picture,
                   const QMargins& border);

// The rim used for button and track pictures: a third of the shorter side, at most `limit`.
QMargins DefaultPictureBorder(const QImage& picture, int limit = 8);
