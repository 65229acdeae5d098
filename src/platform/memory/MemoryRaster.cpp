#include "platform/memory/MemoryRaster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace vormix {

namespace {

// Far beyond any bitmap, so that cutting a line there changes no pixel one can see.
constexpr double kReach = 1 << 20;

// Cuts a segment to the square of kReach around the origin (Liang-Barsky); answers false
// when nothing of it is left.
bool CutToReach(TPoint& from, TPoint& to) {
  const auto inside = [](TPoint p) { return std::abs(p.X) <= kReach && std::abs(p.Y) <= kReach; };
  if (inside(from) && inside(to)) return true;
  const double x0 = from.X, y0 = from.Y, dx = double(to.X) - from.X, dy = double(to.Y) - from.Y;
  double t0 = 0, t1 = 1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0 + kReach, kReach - x0, y0 + kReach, kReach - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0)
      t0 = std::max(t0, t);
    else
      t1 = std::min(t1, t);
  }
  if (t0 > t1) return false;
  from = {static_cast<int>(std::lround(x0 + t0 * dx)), static_cast<int>(std::lround(y0 + t0 * dy))};
  to = {static_cast<int>(std::lround(x0 + t1 * dx)), static_cast<int>(std::lround(y0 + t1 * dy))};
  return true;
}

std::int64_t CeilDiv(std::int64_t a, std::int64_t b) {  // b > 0
  return a >= 0 ? (a + b - 1) / b : -((-a) / b);
}

}  // namespace

// Octants are numbered clockwise from the positive x axis (y grows downwards); GDI
// steps the minor axis early in octants 3, 5, 6 and 8, which is what `bias` does.
void VisitLinePixels(TPoint from, TPoint to, const std::function<void(TPoint)>& visit) {
  if (!CutToReach(from, to)) return;
  const int dx = to.X - from.X, dy = to.Y - from.Y;
  const int adx = std::abs(dx), ady = std::abs(dy);
  int octant;
  if (dy > 0)
    octant = dx > 0 ? (dx > dy ? 1 : 2) : (-dx > dy ? 4 : 3);
  else
    octant = dx < 0 ? (-dx > -dy ? 5 : 6) : (dx > -dy ? 8 : 7);
  const bool xMajor = octant == 1 || octant == 4 || octant == 5 || octant == 8;
  const int bias = (octant == 3 || octant == 5 || octant == 6 || octant == 8) ? 1 : 0;
  const int xStep = (octant == 1 || octant == 2 || octant == 7 || octant == 8) ? 1 : -1;
  const int yStep = octant <= 4 ? 1 : -1;
  const int major = xMajor ? adx : ady, minor = xMajor ? ady : adx;

  TPoint p = from;
  std::int64_t err = 2 * std::int64_t(minor) - major;
  for (int i = 0; i < major; ++i) {
    visit(p);
    const bool stepMinor = err + bias > 0;
    err += stepMinor ? 2 * std::int64_t(minor) - 2 * std::int64_t(major) : 2 * std::int64_t(minor);
    if (xMajor) {
      if (stepMinor) p.Y += yStep;
      p.X += xStep;
    } else {
      if (stepMinor) p.X += xStep;
      p.Y += yStep;
    }
  }
}

std::vector<TPoint> LinePixels(TPoint from, TPoint to) {
  std::vector<TPoint> pixels;
  VisitLinePixels(from, to, [&](TPoint p) { pixels.push_back(p); });
  return pixels;
}

namespace {

// One non-horizontal polygon edge. The scan converter steps it down one scan line at a
// time with integer Bresenham increments; that lands on the smallest integer x at or
// right of the exact edge, which is computed here directly for any scan line.
struct TEdge {
  TPoint Top, Bottom;  // Bottom.Y exclusive

  int XAt(int y) const {
    const std::int64_t dy = Bottom.Y - Top.Y, dx = std::int64_t(Bottom.X) - Top.X;
    return static_cast<int>(Top.X + CeilDiv(dx * (y - Top.Y), dy));
  }
};

}  // namespace

TRegion PolygonRegion(std::span<const std::vector<TPoint>> figures, const TRect& limit) {
  std::vector<TEdge> edges;
  for (const std::vector<TPoint>& points : figures) {
    if (points.size() < 2) continue;
    TPoint previous = points.back();
    for (const TPoint& current : points) {
      if (current.Y != previous.Y)
        edges.push_back(previous.Y < current.Y ? TEdge{previous, current} : TEdge{current, previous});
      previous = current;
    }
  }
  if (edges.empty()) return {};

  int top = edges.front().Top.Y, bottom = edges.front().Bottom.Y;
  for (const TEdge& e : edges) {
    top = std::min(top, e.Top.Y);
    bottom = std::max(bottom, e.Bottom.Y);
  }
  top = std::max(top, limit.Top);
  bottom = std::min(bottom, limit.Bottom);
  std::vector<TRect> rows;
  std::vector<int> crossings;
  for (int y = top; y < bottom; ++y) {
    crossings.clear();
    for (const TEdge& e : edges)
      if (y >= e.Top.Y && y < e.Bottom.Y) crossings.push_back(e.XAt(y));
    std::sort(crossings.begin(), crossings.end());
    for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
      const int left = std::max(crossings[i], limit.Left), right = std::min(crossings[i + 1], limit.Right);
      if (left < right) rows.push_back({left, y, right, y + 1});
    }
  }
  return TRegion::FromRects(std::move(rows));
}

TRegion PolygonRegion(std::span<const TPoint> points, const TRect& limit) {
  const std::vector<TPoint> figure(points.begin(), points.end());
  return PolygonRegion(std::span<const std::vector<TPoint>>(&figure, 1), limit);
}

}  // namespace vormix
