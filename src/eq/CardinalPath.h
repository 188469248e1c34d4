#pragma once
// Painter paths of cardinal splines, built from the Bezier conversion in CardinalSpline.h.

#include <QPainterPath>
#include <QPointF>

#include <span>

// The open (closed) cardinal spline through pts with the given tension scale. A closed path
// ends with closeSubpath.
QPainterPath CardinalPath(std::span<const QPointF> pts, double tension, bool closed);
