// The scroll bar control on the memory desktop: its layout of arrows and thumb, the
// range rules, presses with auto-repeat on the manual clock, thumb dragging with its
// snap-back, and which part shows which state under each painter.
#include <gmock/gmock.h>

#include <vector>

#include "base/Error.h"
#include "forms/MemoryDesktop.h"
#include "lookandfeel/cxScrollBar.h"

namespace vormix {
namespace {

class ScrollBarTest : public testing::Test {
 protected:
  ScrollBarTest() {
    desk.windows.SetSystemMetric(TSystemMetric::smCxVScroll, 16);
    form.SetClientSize(200, 200);
    bar->SetKind(TScrollBarKind::sbVertical);
    bar->SetBounds(10, 10, 16, 100);
    bar->OnScroll = [this](TObject&, TScrollCode code, int& pos) { scrolls.push_back({code, pos}); };
    form.Show();
  }

  MemoryWindow& Window() { return *TMemoryDesktop::WindowOf(*bar); }
  void Press(TPoint at) { desk.windows.MouseDown(Window(), at); }
  void Release(TPoint at) { desk.windows.MouseUp(Window(), at); }
  void MoveTo(TPoint at) { desk.windows.MoveMouse(Window(), at, ssLeft); }

  struct TScrolled {
    TScrollCode Code;
    int Pos;
    bool operator==(const TScrolled&) const = default;
  };

  TMemoryDesktop desk;
  TCustomForm form{desk.app, "Form"};
  std::unique_ptr<TcxScrollBar> bar = Place<TcxScrollBar>(form, "bar", 10, 10, 121, 17);
  std::vector<TScrolled> scrolls;
};

TEST_F(ScrollBarTest, ArrowsTakeTheSystemSizeAndAShortBarSplitsItsLength) {
  EXPECT_EQ(bar->PartRect(sbpLineUp), (TRect{0, 0, 16, 16}));
  EXPECT_EQ(bar->PartRect(sbpLineDown), (TRect{0, 84, 16, 100}));
  bar->SetBounds(10, 10, 16, 20);
  EXPECT_EQ(bar->PartRect(sbpLineUp), (TRect{0, 0, 16, 10}));
  EXPECT_EQ(bar->PartRect(sbpLineDown), (TRect{0, 10, 16, 20}));
  EXPECT_FALSE(bar->HasThumb());
  EXPECT_EQ(bar->HitTest({8, 15}), sbpLineDown);
  EXPECT_EQ(bar->HitTest({8, 25}), sbpNone);
}

TEST_F(ScrollBarTest, APageSizedThumbIsAtLeastTheMinimumAndReachesTheSecondArrow) {
  bar->SetParams(0, 99, 10, 0);
  EXPECT_EQ(bar->PartRect(sbpThumbnail), (TRect{0, 16, 16, 24}));  // MulDiv(10, 68, 100) = 7, raised to 8
  EXPECT_EQ(bar->PartRect(sbpPageUp), (TRect{0, 16, 16, 16}));
  bar->SetPosition(90);
  EXPECT_EQ(bar->PartRect(sbpThumbnail).Bottom, 84);
  EXPECT_EQ(bar->PartRect(sbpPageDown), (TRect{0, 84, 16, 84}));
  // Without a page size the thumb has the system's fixed length (17 here).
  bar->SetParams(0, 100, 0, 50);
  EXPECT_EQ(bar->PartRect(sbpThumbnail), (TRect{0, 16 + MulDiv(68 - 17, 50, 100), 16, 16 + MulDiv(68 - 17, 50, 100) + 17}));
}

TEST_F(ScrollBarTest, ParamsOutOfRangeRaiseAndChangeNothingAndANewPositionEnablesTheBar) {
  bar->SetParams(0, 50, 10, 20);
  try {
    bar->SetMax(5);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.Text(), "Scrollbar property out of range");
  }
  EXPECT_THROW(bar->SetParams(10, 5, 0, 0), Error);
  EXPECT_EQ(bar->Max(), 50);
  EXPECT_EQ(bar->Position(), 20);
  int changes = 0;
  bar->OnChange = [&](TObject&) { ++changes; };
  bar->SetEnabled(false);
  EXPECT_FALSE(bar->HasThumb());
  bar->SetPosition(99);  // clamped into the range
  EXPECT_EQ(bar->Position(), 50);
  EXPECT_TRUE(bar->Enabled());
  EXPECT_EQ(changes, 1);
  bar->SetPosition(50);
  EXPECT_EQ(changes, 1);
}

TEST_F(ScrollBarTest, ScrollRunsOnScrollWhichMayChangeThePosition) {
  bar->SetParams(0, 100, 10, 50);
  bar->SmallChange = 3;
  bar->OnScroll = [&](TObject&, TScrollCode code, int& pos) {
    scrolls.push_back({code, pos});
    if (code == scBottom) pos = 1000;  // clamped again afterwards
    if (code == scTop) pos = 7;
  };
  bar->Scroll(scLineUp);
  bar->Scroll(scBottom);
  bar->Scroll(scTop);
  EXPECT_THAT(scrolls, testing::ElementsAre(TScrolled{scLineUp, 47}, TScrolled{scBottom, 100}, TScrolled{scTop, 0}));
  EXPECT_EQ(bar->Position(), 7);
}

TEST_F(ScrollBarTest, AHeldPageRepeatsAfter400AndEvery60MsUntilTheThumbReachesThePointer) {
  bar->SetParams(0, 99, 10, 0);
  bar->LargeChange = 10;
  const TPoint pointer{8, 60};
  desk.windows.SetCursorPos(Window().ClientToScreen(pointer));
  Press(pointer);
  EXPECT_EQ(bar->Position(), 10);  // at once
  desk.windows.AdvanceTime(399);
  EXPECT_EQ(bar->Position(), 10);
  desk.windows.AdvanceTime(1);
  EXPECT_EQ(bar->Position(), 20);
  desk.windows.AdvanceTime(60);
  EXPECT_EQ(bar->Position(), 30);
  desk.windows.AdvanceTime(600);  // stops with the thumb under the pointer
  EXPECT_EQ(bar->HitTest(pointer), sbpThumbnail);
  const int stopped = bar->Position();
  desk.windows.AdvanceTime(600);
  EXPECT_EQ(bar->Position(), stopped);
  Release(pointer);
  EXPECT_EQ(bar->PressedPart(), sbpNone);
  EXPECT_EQ(scrolls.back().Code, scEndScroll);
}

TEST_F(ScrollBarTest, ADraggedThumbSnapsBackFarFromTheBarAndFollowsAgainNearIt) {
  bar->SetParams(0, 99, 10, 0);
  Press({8, 20});
  MoveTo({8, 40});
  const int dragged = bar->Position();
  EXPECT_GT(dragged, 0);
  EXPECT_EQ(bar->PartRect(sbpThumbnail).Top, 36);
  MoveTo({15 + 137, 40});  // 137 pixels right of the bar: outside the tracking area
  EXPECT_EQ(bar->Position(), 0);
  EXPECT_EQ(bar->PartRect(sbpThumbnail).Top, 16);
  MoveTo({15 + 136, 40});  // back inside
  EXPECT_EQ(bar->Position(), dragged);
  MoveTo({8, 133});  // 33 pixels past the end, still tracking: the thumb stays between the arrows
  EXPECT_EQ(bar->PartRect(sbpThumbnail).Bottom, 84);
  Release({8, 133});
  EXPECT_EQ(bar->Position(), 90);
  ASSERT_GE(scrolls.size(), 2u);
  EXPECT_EQ(scrolls[scrolls.size() - 2].Code, scPosition);
  EXPECT_EQ(scrolls.back().Code, scEndScroll);
  // With unlimited tracking it follows however far the pointer goes.
  bar->UnlimitedTracking = true;
  bar->SetPosition(0);
  Press({8, 20});
  MoveTo({8 + 500, 40});
  EXPECT_EQ(bar->Position(), dragged);
  Release({8 + 500, 40});
}

TEST_F(ScrollBarTest, PartStatesByPainter) {
  bar->SetParams(0, 99, 10, 0);
  bar->LookAndFeel().SetKind(TcxLookAndFeelKind::lfStandard);
  bar->LookAndFeel().SetNativeStyle(true);
  desk.windows.MoveMouse(Window(), {8, 8});
  EXPECT_EQ(bar->HotPart(), sbpLineUp);
  EXPECT_EQ(bar->PartState(sbpLineUp), cxbsHot);  // the Standard painter draws hot as normal
  Press({8, 20});
  EXPECT_EQ(bar->PartState(sbpThumbnail), cxbsNormal);  // never pressed under Standard
  Release({8, 20});
  // Under the native painter the dragged thumb shows pressed and the part under the
  // pointer hot.
  desk.themes.Active = true;
  desk.windows.BroadcastThemeChanged();
  ASSERT_TRUE(bar->Painter().IsNative());
  Press({8, 20});
  EXPECT_EQ(bar->PartState(sbpThumbnail), cxbsPressed);
  EXPECT_EQ(bar->PartState(sbpLineUp), cxbsNormal);
  Release({8, 20});
  desk.windows.MoveMouse(Window(), {8, 90});
  EXPECT_EQ(bar->PartState(sbpLineDown), cxbsHot);
  bar->SetEnabled(false);
  EXPECT_EQ(bar->PartState(sbpLineDown), cxbsDisabled);
}

TEST_F(ScrollBarTest, PaintsItsPartsThroughThePainterInOneCopy) {
  bar->SetParams(0, 99, 10, 0);
  Window().Invalidate();
  Window().Update();
  const MemoryCanvas& shown = Window().Canvas();
  EXPECT_EQ(shown.Pixel(0, 0), ResolveMemoryColor(clBtnFace));       // the raised arrow button's outer ring
  EXPECT_EQ(shown.Pixel(15, 15), ResolveMemoryColor(cl3DDkShadow));
  EXPECT_EQ(shown.Pixel(1, 17), ResolveMemoryColor(clBtnHighlight));  // the thumb's inner ring
  const bool odd = (3 % 2) != (40 % 2);
  EXPECT_EQ(shown.Pixel(3, 40), ResolveMemoryColor(odd ? clBtnHighlight : clBtnFace));  // a page area
}

}  // namespace
}  // namespace vormix
