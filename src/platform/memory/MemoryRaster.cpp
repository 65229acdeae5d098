#include "platform/memory/MemoryRaster.h"

#include <algorithm>
#include <cstdlib>

namespace vormix {

// Octants are numbered clockwise from the positive x axis (y grows downwards); GDI
// steps the minor axis early in octants 3, 5, 6 and 8, which is what `bias` does.
std::vector<TPoint> LinePixels(TPoint from, TPoint to) {
  const int dx = to.X - from.X, dy = to.Y - from.Y;
  const int adx = std::abs(dx), ady = std::abs(dy);
  int octant;
  if (dy > 0) octant = dx > 0 ? (dx > dy ? 1 : 2) : (-dx > dy ? 4 : 3);
  else octant = dx < 0 ? (-dx > -dy ? 5 : 6) : (dx > -dy ? 8 : 7);
  const bool xMajor = octant == 1 || octant == 4 || octant == 5 || octant == 8;
  const int bias = (octant == 3 || octant == 5 || octant == 6 || octant == 8) ? 1 : 0;
  const int xStep = (octant == 1 || octant == 2 || octant == 7 || octant == 8) ? 1 : -1;
  const int yStep = octant <= 4 ? 1 : -1;
  const int major = xMajor ? adx : ady, minor = xMajor ? ady : adx;

  std::vector<TPoint> pixels;
  pixels.reserve(static_cast<std::size_t>(major));
  TPoint p = from;
  int err = 2 * minor - major;
  for (int i = 0; i < major; ++i) {
    pixels.push_back(p);
    const bool stepMinor = err + bias > 0;
    err += stepMinor ? 2 * minor - 2 * major : 2 * minor;
    if (xMajor) {
      if (stepMinor) p.Y += yStep;
      p.X += xStep;
    } else {
      if (stepMinor) p.X += xStep;
      p.Y += yStep;
    }
  }
  return pixels;
}

namespace {

// One non-horizontal polygon edge, walked down one scan line at a time with the
// integer Bresenham increments of the X11 polygon scan converter.
struct TEdge {
  int Top = 0;
  int Bottom = 0;  // exclusive
  int X = 0;
  int D = 0, M = 0, M1 = 0, Incr1 = 0, Incr2 = 0;

  TEdge(TPoint top, TPoint bottom) : Top(top.Y), Bottom(bottom.Y), X(top.X) {
    const int dy = bottom.Y - top.Y, dx = bottom.X - top.X;
    M = dx / dy;
    if (dx < 0) {
      M1 = M - 1;
      Incr1 = -2 * dx + 2 * dy * M1;
      Incr2 = -2 * dx + 2 * dy * M;
      D = 2 * M * dy - 2 * dx - 2 * dy;
    } else {
      M1 = M + 1;
      Incr1 = 2 * dx - 2 * dy * M1;
      Incr2 = 2 * dx - 2 * dy * M;
      D = -2 * M * dy + 2 * dx;
    }
  }

  void Step() {
    const bool takeM1 = M1 > 0 ? D > 0 : D >= 0;
    X += takeM1 ? M1 : M;
    D += takeM1 ? Incr1 : Incr2;
  }
};

}  // namespace

TRegion PolygonRegion(std::span<const std::vector<TPoint>> figures) {
  std::vector<TEdge> edges;
  for (const std::vector<TPoint>& points : figures) {
    if (points.size() < 2) continue;
    TPoint previous = points.back();
    for (const TPoint& current : points) {
      if (current.Y != previous.Y)
        edges.push_back(previous.Y < current.Y ? TEdge(previous, current) : TEdge(current, previous));
      previous = current;
    }
  }
  if (edges.empty()) return {};

  int top = edges.front().Top, bottom = edges.front().Bottom;
  for (const TEdge& e : edges) {
    top = std::min(top, e.Top);
    bottom = std::max(bottom, e.Bottom);
  }
  std::vector<TRect> rows;
  std::vector<int> crossings;
  for (int y = top; y < bottom; ++y) {
    crossings.clear();
    for (TEdge& e : edges) {
      if (y < e.Top || y >= e.Bottom) continue;
      crossings.push_back(e.X);
      e.Step();
    }
    std::sort(crossings.begin(), crossings.end());
    for (std::size_t i = 0; i + 1 < crossings.size(); i += 2)
      if (crossings[i] < crossings[i + 1]) rows.push_back({crossings[i], y, crossings[i + 1], y + 1});
  }
  return TRegion::FromRects(std::move(rows));
}

TRegion PolygonRegion(std::span<const TPoint> points) {
  const std::vector<TPoint> figure(points.begin(), points.end());
  return PolygonRegion(std::span<const std::vector<TPoint>>(&figure, 1));
}

}  // namespace vormix
