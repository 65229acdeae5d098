#include "base/Color.h"
#include "base/Geometry.h"

#include <gtest/gtest.h>

using namespace vormix;

TEST(TRect, SizeKeepsItsSignAndClamps)
{
    TRect inverted{10, 20, 4, 5};
    EXPECT_EQ(inverted.Width(), -6);
    EXPECT_EQ(inverted.Height(), -15);
    EXPECT_EQ(inverted.ClampedWidth(), 0);
    EXPECT_EQ(inverted.ClampedHeight(), 0);
    EXPECT_TRUE(inverted.IsEmpty());

    TRect r = TRect::FromBounds(3, 4, 100, 21);
    EXPECT_EQ(r, (TRect{3, 4, 103, 25}));
    EXPECT_EQ(r.Size(), (TSize{100, 21}));
    EXPECT_FALSE(r.IsEmpty());
    EXPECT_TRUE((TRect{0, 0, 0, 5}).IsEmpty());
}

TEST(TRect, ContainsExcludesRightAndBottomEdges)
{
    TRect r{0, 0, 10, 5};
    EXPECT_TRUE(r.Contains({0, 0}));
    EXPECT_TRUE(r.Contains({9, 4}));
    EXPECT_FALSE(r.Contains({10, 4}));
    EXPECT_FALSE(r.Contains({9, 5}));
    EXPECT_FALSE(r.Contains({-1, 0}));
    EXPECT_FALSE(TRect{}.Contains({0, 0}));
}

TEST(TRect, InflateOffsetIntersect)
{
    TRect r{10, 10, 20, 30};
    EXPECT_EQ(r.Inflated(2, 3), (TRect{8, 7, 22, 33}));
    EXPECT_EQ(r.Inflated(-1, -1), (TRect{11, 11, 19, 29}));
    EXPECT_EQ(r.Offset(-10, 5), (TRect{0, 15, 10, 35}));
    EXPECT_EQ(r.Intersected({15, 0, 40, 12}), (TRect{15, 10, 20, 12}));
    EXPECT_EQ(r.Intersected({20, 10, 30, 30}), TRect{}); // touching edges share no pixel
}

TEST(TColor, ChannelsAndSystemColours)
{
    constexpr TColor c = RGBColor(0x12, 0x34, 0x56);
    static_assert(c == 0x563412);
    EXPECT_EQ(GetRed(c), 0x12);
    EXPECT_EQ(GetGreen(c), 0x34);
    EXPECT_EQ(GetBlue(c), 0x56);
    EXPECT_EQ(RGBColor(255, 0, 0), clRed);
    EXPECT_EQ(RGBColor(0, 0, 255), clBlue);

    EXPECT_EQ(clBtnFace, 0xFF00000Fu);
    EXPECT_EQ(clHotLight, 0xFF00001Au);
    EXPECT_TRUE(IsSystemColor(clWindow));
    EXPECT_EQ(SystemColorIndex(clWindowText), 8);
    EXPECT_EQ(SystemColor(SystemColorIndex(cl3DDkShadow)), cl3DDkShadow);
    for (TColor notSystem : {clWhite, clBlack, clDefault, clNone})
        EXPECT_FALSE(IsSystemColor(notSystem)) << std::hex << notSystem;
}
