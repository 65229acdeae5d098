// The About dialog on the memory desktop: what the About button does with it, how it
// closes, its web link, its icon and its layout.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/AboutFrm.h"
#include "MainFormFixture.h"

namespace vormix {
namespace {

// The program's icon as the resource holds it: two framed squares, clNone where the
// mask lets the background through.
TImage ProgramIcon() {
  const TColor blue = RGBColor(0, 0, 255), yellow = RGBColor(255, 255, 0), lime = RGBColor(0, 255, 0);
  TImage icon(32, 32, clNone);
  const auto square = [&](int left, int top, TColor fill) {
    for (int y = top; y < top + 17; ++y)
      for (int x = left; x < left + 17; ++x)
        icon.Set(x, y, std::min({x - left, y - top, left + 16 - x, top + 16 - y}) < 2 ? blue : fill);
  };
  square(0, 15, lime);
  square(15, 0, yellow);
  return icon;
}

class AboutFormTest : public MainFormTest {
 protected:
  AboutFormTest() { desk.windows.SetApplicationIcon(ProgramIcon()); }

  // Clicks About; while the dialog is up, the script runs and sees the dialog.
  void ShowAbout(const std::function<void(TAboutForm&)>& script) {
    desk.windows.OnModalLoop = [&] {
      ASSERT_NE(AboutForm, nullptr);
      script(*AboutForm);
    };
    Press(*form.cxButton3);
    desk.windows.OnModalLoop = nullptr;
  }
  MemoryWindow& Win(const TWinControl& c) { return *TMemoryDesktop::WindowOf(c); }
};

TEST_F(AboutFormTest, AboutShowsAFreshModalDialogEachTimeAndForgetsItAfterwards) {
  TAboutForm* first = nullptr;
  ShowAbout([&](TAboutForm& about) {
    first = &about;
    EXPECT_EQ(about.Caption(), "关于");
    EXPECT_EQ(about.ClientWidth(), 351);
    EXPECT_EQ(about.ClientHeight(), 249);
    EXPECT_TRUE(about.IsModal());
    EXPECT_TRUE(about.IsShowing());
    EXPECT_FALSE(form.Window()->IsEnabled()) << "the main window is disabled meanwhile";
    // Centred on the 1280 x 1024 memory screen.
    const TRect outer = about.FormWindow()->Bounds();
    EXPECT_LE(std::abs(outer.Left + outer.Width() / 2 - 640), 1);
    EXPECT_LE(std::abs(outer.Top + outer.Height() / 2 - 512), 1);
    desk.windows.Click(*about.cxButton1->Window());
  });
  EXPECT_EQ(AboutForm, nullptr);
  EXPECT_TRUE(form.Window()->IsEnabled());
  EXPECT_EQ(desk.windows.ModalLoops(), 1);
  EXPECT_EQ(desk.app.Forms().size(), 1u) << "the dialog is destroyed";

  ShowAbout([&](TAboutForm& about) {
    EXPECT_NE(&about, nullptr);
    EXPECT_EQ(about.ModalResult(), mrNone) << "a fresh dialog";
    desk.windows.CloseBox(*about.FormWindow());
    EXPECT_EQ(about.ModalResult(), mrCancel);
  });
  EXPECT_EQ(AboutForm, nullptr);
  EXPECT_EQ(desk.windows.ModalLoops(), 2);
  (void)first;
}

TEST_F(AboutFormTest, OkAndTheCloseBoxBothEndTheLoopWithCancelAndEscapeDoesNot) {
  ShowAbout([&](TAboutForm& about) {
    desk.windows.PressKey(vk::Escape);
    EXPECT_EQ(about.ModalResult(), mrNone) << "no cancel button: Escape leaves it open";
    desk.windows.Click(*about.cxButton1->Window());
    EXPECT_EQ(about.ModalResult(), mrCancel);
  });
}

TEST_F(AboutFormTest, TheLinkAsksTheShellEveryTimeAndTheDialogStays) {
  ShowAbout([&](TAboutForm& about) {
    EXPECT_EQ(Win(*about.cxLabel6).Cursor(), TCursor::crHandPoint);
    EXPECT_EQ(about.cxLabel6->Caption(), kMakerAddress);
    desk.windows.Click(Win(*about.cxLabel6), {3, 3});
    desk.windows.Click(Win(*about.cxLabel6), {5, 4});
    ASSERT_EQ(desk.shell.Opened.size(), 2u);
    for (const auto& opened : desk.shell.Opened) {
      EXPECT_EQ(opened.Address, kMakerAddress);
      EXPECT_EQ(opened.Owner, about.Window()) << "the dialog owns the request";
    }
    EXPECT_EQ(about.ModalResult(), mrNone);
    about.Close();
  });
}

TEST_F(AboutFormTest, ShowingFailureStillDestroysTheDialog) {
  desk.windows.OnModalLoop = [] { throw Error("no room for a dialog"); };
  Press(*form.cxButton3);
  desk.windows.OnModalLoop = nullptr;
  EXPECT_EQ(AboutForm, nullptr);
  EXPECT_EQ(desk.app.Forms().size(), 1u);
  ASSERT_EQ(desk.messageBox.Shown.size(), 1u);
  EXPECT_EQ(desk.messageBox.Shown[0].Text, "no room for a dialog.");
}

TEST_F(AboutFormTest, IconLabelsAndButtonAreLaidOutAsDesigned) {
  ShowAbout([&](TAboutForm& about) {
    EXPECT_EQ(about.Image1->BoundsRect(), TRect::FromBounds(21, 24, 32, 32));
    Win(about).PaintNow();
    const MemoryCanvas& picture = Win(about).Canvas();
    const TPoint at = about.Image1->BoundsRect().TopLeft();
    const TColor face = ResolveMemoryColor(clBtnFace);
    EXPECT_EQ(picture.Pixel(at.X + 20, at.Y + 5), RGBColor(255, 255, 0)) << "yellow upper right";
    EXPECT_EQ(picture.Pixel(at.X + 5, at.Y + 25), RGBColor(0, 255, 0)) << "lime lower left";
    for (int x = 0; x < 32; ++x) {
      EXPECT_EQ(picture.Pixel(at.X + x, at.Y + 15), RGBColor(0, 0, 255));
      EXPECT_EQ(picture.Pixel(at.X + x, at.Y + 16), RGBColor(0, 0, 255));
    }
    EXPECT_EQ(picture.Pixel(at.X + 3, at.Y + 3), face) << "transparent upper left";
    EXPECT_EQ(picture.Pixel(at.X + 28, at.Y + 28), face) << "transparent lower right";

    const TcxLabel& title = *about.cxLabel2;
    EXPECT_EQ(title.Caption(), "Vormix ");
    EXPECT_EQ(title.Properties().LabelEffect(), TcxLabelEffect::cxleFun);
    EXPECT_EQ(title.Properties().LabelStyle(), TcxLabelStyle::cxlsLowered);
    EXPECT_EQ(title.Properties().Depth(), 8);
    EXPECT_EQ(title.Font().Name, "华文中宋");
    EXPECT_TRUE(title.Font().Bold);
    EXPECT_EQ(title.LabelViewInfo().BackgroundColor, clBtnFace) << "the dialog's face, through ParentColor";
    // Sized to the caption: 7 cells of 12 x 25 on the memory canvas, depth and offset added.
    EXPECT_EQ(title.BoundsRect(), TRect::FromBounds(65, 48, 84 + 14, 25 + 14));
    EXPECT_EQ(about.cxLabel6->Font().Color, clBlue);
    EXPECT_EQ(about.cxLabel5->Caption(), "Kelvane Corporation");
    EXPECT_EQ(about.cxLabel1->Caption(), "Kelvane");
    EXPECT_EQ(about.cxLabel3->Caption(), "Version: 2.0");
    EXPECT_EQ(about.cxButton1->Caption(), "确定");
    EXPECT_EQ(about.cxButton1->BoundsRect(), TRect::FromBounds(215, 200, 75, 25));
    about.Close();
  });
}

}  // namespace
}  // namespace vormix
