#pragma once
// A set of pixels made of rectangles, as window regions and clip regions are. The
// rectangles are kept in a canonical banded form (rows of equal top and bottom, sorted,
// non-overlapping, horizontally merged, vertically merged where two bands match), so two
// regions covering the same pixels compare equal however they were built.
#include <vector>

#include "base/Geometry.h"

namespace vormix {

class TRegion {
 public:
  TRegion() = default;
  explicit TRegion(const TRect& rect);
  // The union of any rectangles, overlapping or not, in canonical form.
  static TRegion FromRects(std::vector<TRect> rects);

  bool IsEmpty() const { return m_rects.empty(); }
  const std::vector<TRect>& Rects() const { return m_rects; }
  TRect Bounds() const;
  bool Contains(TPoint p) const;

  TRegion Union(const TRegion& other) const;
  TRegion Intersect(const TRegion& other) const;
  TRegion Subtract(const TRegion& other) const;
  TRegion Xor(const TRegion& other) const;
  TRegion Offset(int dx, int dy) const;

  friend bool operator==(const TRegion&, const TRegion&) = default;

 private:
  enum class TOp { Union, Intersect, Subtract, Xor };
  TRegion Combine(const TRegion& other, TOp op) const;
  std::vector<TRect> m_rects;
};

}  // namespace vormix
