#pragma once
// The pixel geometry of GDI that the memory canvas draws with: which pixels a cosmetic
// line sets, and which pixels the interior of a polygon covers. Both follow the integer
// arithmetic Windows uses, so that a picture drawn in memory matches a real device
// context pixel for pixel.
#include <functional>
#include <span>
#include <vector>

#include "base/Geometry.h"
#include "base/Region.h"

namespace vormix {

// The pixels of a one-pixel line from `from` to `to`, the end point excluded, in drawing
// order. A tie between two candidate pixels is broken by the octant of the line, as GDI
// breaks it, so a line and its reverse need not set the same pixels.
void VisitLinePixels(TPoint from, TPoint to, const std::function<void(TPoint)>& visit);
std::vector<TPoint> LinePixels(TPoint from, TPoint to);

// The interior of closed polygons under the alternate (even-odd) rule, as a polygon
// region is built: scan line y crosses each edge with top <= y < bottom at the smallest
// integer x on or right of the edge, and the pixels from one crossing up to (not
// including) the next belong to the region. Right and bottom edges are therefore
// outside; figures of fewer than two points add nothing. Only the part within `limit`
// is computed, so far-away coordinates cost nothing.
TRegion PolygonRegion(std::span<const std::vector<TPoint>> figures, const TRect& limit);
TRegion PolygonRegion(std::span<const TPoint> points, const TRect& limit);

}  // namespace vormix
