#include "base/Region.h"

#include <gtest/gtest.h>

using namespace vormix;

namespace {

int CountPixels(const TRegion& region, const TRect& within) {
  int n = 0;
  for (int y = within.Top; y < within.Bottom; ++y)
    for (int x = within.Left; x < within.Right; ++x) n += region.Contains({x, y});
  return n;
}

}  // namespace

// Every operation is checked pixel by pixel against the set arithmetic it stands for.
TEST(TRegion, OperationsMatchPixelSetArithmetic) {
  const TRegion a = TRegion({0, 0, 10, 10}).Union(TRegion({5, 5, 20, 12}));
  const TRegion b = TRegion({3, -2, 8, 30}).Union(TRegion({15, 0, 17, 4}));
  const TRect area{-5, -5, 25, 35};
  for (int y = area.Top; y < area.Bottom; ++y)
    for (int x = area.Left; x < area.Right; ++x) {
      const bool inA = a.Contains({x, y}), inB = b.Contains({x, y});
      ASSERT_EQ(a.Union(b).Contains({x, y}), inA || inB) << x << "," << y;
      ASSERT_EQ(a.Intersect(b).Contains({x, y}), inA && inB) << x << "," << y;
      ASSERT_EQ(a.Subtract(b).Contains({x, y}), inA && !inB) << x << "," << y;
      ASSERT_EQ(a.Xor(b).Contains({x, y}), inA != inB) << x << "," << y;
    }
  EXPECT_EQ(CountPixels(a, area), 100 + 15 * 7 - 25);
}

TEST(TRegion, SamePixelsCompareEqualHoweverBuilt) {
  const TRegion whole({0, 0, 20, 10});
  const TRegion halves = TRegion({0, 0, 10, 10}).Union(TRegion({10, 0, 20, 10}));
  const TRegion rows = TRegion({0, 0, 20, 4}).Union(TRegion({0, 4, 20, 10}));
  EXPECT_EQ(whole, halves);
  EXPECT_EQ(whole, rows);
  EXPECT_EQ(whole.Rects().size(), 1u);

  // A frame minus nothing stays a frame; removing the hole again gives the whole.
  const TRegion frame = whole.Subtract(TRegion({2, 2, 18, 8}));
  EXPECT_EQ(frame.Rects().size(), 4u);
  EXPECT_EQ(frame.Union(TRegion({2, 2, 18, 8})), whole);
  EXPECT_EQ(frame.Bounds(), (TRect{0, 0, 20, 10}));
  EXPECT_NE(frame, whole);
}

TEST(TRegion, EmptyRectanglesAndOffsets) {
  EXPECT_TRUE(TRegion({5, 5, 5, 9}).IsEmpty());
  EXPECT_TRUE(TRegion({0, 0, 4, 4}).Intersect(TRegion({4, 0, 8, 4})).IsEmpty());
  EXPECT_EQ(TRegion().Bounds(), TRect{});
  EXPECT_EQ(TRegion({0, 0, 4, 4}).Offset(3, -1), TRegion({3, -1, 7, 3}));
}

TEST(TRegion, FromRectsIsTheUnionOfOverlappingRectangles) {
  const TRegion soup = TRegion::FromRects({{0, 0, 4, 4}, {2, 2, 6, 6}, {2, 2, 3, 3}, {8, 0, 8, 9}, {0, 4, 4, 5}});
  EXPECT_EQ(soup, TRegion({0, 0, 4, 5}).Union(TRegion({2, 2, 6, 6})));
  EXPECT_TRUE(TRegion::FromRects({}).IsEmpty());
}
