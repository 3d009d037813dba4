// A one-pixel solid polyline drawn straight into an RGB32 image, pixel for pixel as Qt's
// raster engine draws it with an aliased, square-capped pen one pixel wide, no transform,
// no clip and an opaque colour (its cosmetic stroker, whose rule this follows). A curve
// of thousands of sub-pixel segments, where the stroker spends most of its time on
// segments that light no pixel, is then drawn in a fraction of the time, and a plot keeps
// exactly the pixels it has always had.
#pragma once

#include <QImage>
#include <QPointF>

namespace kv {

// Draws points[0..count) each moved by `offset` (added in double, as a caller shifting
// the points itself would) in `colour`. False, drawing nothing, for a polyline it leaves
// to QPainter: fewer than two points, or closed (its first point is its last).
bool DrawThinPolyline(QImage& image, const QPointF* points, int count, QPointF offset, QRgb colour);

// The polyline drawn once moved by k `step` for each k in first..last, `step` (0, 1) or
// (1, 0): the one-pixel lines stacked across a wide pen. When moving the points moves
// every pixel lit with them (it does unless a coordinate is near the image's edges or a
// sum is inexact), the stroke is worked out once and each pixel lit in every copy. False,
// drawing nothing, as DrawThinPolyline, or for another step.
bool DrawThinPolylines(QImage& image, const QPointF* points, int count, QPointF step, int first, int last, QRgb colour);

}  // namespace kv
