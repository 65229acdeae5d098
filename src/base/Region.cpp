#include "base/Region.h"

#include <algorithm>
#include <utility>

namespace vormix {

namespace {

// The x intervals a region covers within the horizontal band [top, bottom).
std::vector<std::pair<int, int>> Spans(const std::vector<TRect>& rects, int top, int bottom) {
  std::vector<std::pair<int, int>> spans;
  for (const TRect& r : rects)
    if (r.Top <= top && r.Bottom >= bottom) spans.emplace_back(r.Left, r.Right);
  std::sort(spans.begin(), spans.end());
  return spans;
}

bool Covered(const std::vector<std::pair<int, int>>& spans, int x) {
  for (const auto& [left, right] : spans)
    if (x >= left && x < right) return true;
  return false;
}

}  // namespace

TRegion::TRegion(const TRect& rect) {
  if (!rect.IsEmpty()) m_rects.push_back(rect);
}

TRegion TRegion::FromRects(std::vector<TRect> rects) {
  std::erase_if(rects, [](const TRect& r) { return r.IsEmpty(); });
  TRegion soup;
  soup.m_rects = std::move(rects);
  return soup.Combine(TRegion(), TOp::Union);
}

TRect TRegion::Bounds() const {
  if (m_rects.empty()) return {};
  TRect b = m_rects.front();
  for (const TRect& r : m_rects) {
    b.Left = std::min(b.Left, r.Left);
    b.Top = std::min(b.Top, r.Top);
    b.Right = std::max(b.Right, r.Right);
    b.Bottom = std::max(b.Bottom, r.Bottom);
  }
  return b;
}

bool TRegion::Contains(TPoint p) const {
  return std::any_of(m_rects.begin(), m_rects.end(), [p](const TRect& r) { return r.Contains(p); });
}

TRegion TRegion::Union(const TRegion& other) const { return Combine(other, TOp::Union); }
TRegion TRegion::Intersect(const TRegion& other) const { return Combine(other, TOp::Intersect); }
TRegion TRegion::Subtract(const TRegion& other) const { return Combine(other, TOp::Subtract); }
TRegion TRegion::Xor(const TRegion& other) const { return Combine(other, TOp::Xor); }

TRegion TRegion::Offset(int dx, int dy) const {
  TRegion moved = *this;
  for (TRect& r : moved.m_rects) r = r.Offset(dx, dy);
  return moved;
}

// Cuts the plane into bands at every top and bottom edge of either operand, and within
// each band at every left and right edge; each elementary cell is in or out by the
// operation. Regions here hold a handful of rectangles, so the simple sweep is plenty.
TRegion TRegion::Combine(const TRegion& other, TOp op) const {
  std::vector<int> ys;
  for (const auto* rects : {&m_rects, &other.m_rects})
    for (const TRect& r : *rects) {
      ys.push_back(r.Top);
      ys.push_back(r.Bottom);
    }
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

  TRegion result;
  std::vector<TRect> previousBand;
  for (std::size_t i = 0; i + 1 < ys.size(); ++i) {
    const int top = ys[i], bottom = ys[i + 1];
    const auto a = Spans(m_rects, top, bottom), b = Spans(other.m_rects, top, bottom);
    std::vector<int> xs;
    for (const auto* spans : {&a, &b})
      for (const auto& [left, right] : *spans) {
        xs.push_back(left);
        xs.push_back(right);
      }
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());

    std::vector<TRect> band;
    for (std::size_t j = 0; j + 1 < xs.size(); ++j) {
      const bool inA = Covered(a, xs[j]), inB = Covered(b, xs[j]);
      bool in = false;
      switch (op) {
        case TOp::Union: in = inA || inB; break;
        case TOp::Intersect: in = inA && inB; break;
        case TOp::Subtract: in = inA && !inB; break;
        case TOp::Xor: in = inA != inB; break;
      }
      if (!in) continue;
      if (!band.empty() && band.back().Right == xs[j])
        band.back().Right = xs[j + 1];
      else
        band.push_back({xs[j], top, xs[j + 1], bottom});
    }

    // A band with the same spans as the one just above it, and touching it, merges into it.
    const bool sameSpans =
        !band.empty() && band.size() == previousBand.size() && previousBand.front().Bottom == top &&
        std::equal(band.begin(), band.end(), previousBand.begin(), [](const TRect& x, const TRect& y) {
          return x.Left == y.Left && x.Right == y.Right;
        });
    if (sameSpans) {
      for (std::size_t k = result.m_rects.size() - band.size(); k < result.m_rects.size(); ++k)
        result.m_rects[k].Bottom = bottom;
      for (TRect& r : previousBand) r.Bottom = bottom;
    } else {
      result.m_rects.insert(result.m_rects.end(), band.begin(), band.end());
      previousBand = band;
    }
  }
  return result;
}

}  // namespace vormix
