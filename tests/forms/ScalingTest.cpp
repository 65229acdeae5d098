// A form laid out for 96 dots per inch on a screen with another resolution: the font
// follows the resolution and the layout follows the font's character height.
#include <gtest/gtest.h>

#include "forms/ExtCtrls.h"
#include "forms/MemoryDesktop.h"
#include "forms/StdCtrls.h"

namespace vormix {
namespace {

struct TScaledForm {
  explicit TScaledForm(TMemoryDesktop& desk) : form(desk.app, "Scaled") {
    form.SetClientSize(722, 566);
    panel = Place<TPanel>(form, "Panel1", 18, 90, 685, 150);
    edit = Place<TEdit>(*panel, "Edit1", 81, 15, 75, 20);
  }
  TCustomForm form;
  std::unique_ptr<TPanel> panel;
  std::unique_ptr<TEdit> edit;
};

TEST(FormScaling, At96DotsPerInchNothingMoves) {
  TMemoryDesktop desk;
  TScaledForm f(desk);
  f.form.Show();
  EXPECT_EQ(f.form.Font().Height, -12);
  EXPECT_EQ(f.edit->BoundsRect(), TRect::FromBounds(81, 15, 75, 20));
  EXPECT_EQ(f.form.ClientWidth(), 722);
}

TEST(FormScaling, At120DotsPerInchFontAndLayoutGrowByTheCharacterHeight) {
  TMemoryDesktop desk;
  desk.windows.SetScreen({0, 0, 1920, 1080}, 120);
  TScaledForm f(desk);
  f.form.Show();
  // -12 × 120 / 96 = -15: everything grows by 15/12.
  EXPECT_EQ(f.form.Font().Height, -15);
  EXPECT_EQ(f.edit->Font().Height, -15) << "controls take the form's font";
  EXPECT_EQ(f.panel->BoundsRect(), TRect::FromBounds(23, 113, 856, 188));
  EXPECT_EQ(f.edit->BoundsRect(), TRect::FromBounds(101, 19, 94, 25));
  EXPECT_EQ(f.form.ClientWidth(), 902);
  EXPECT_EQ(f.form.ClientHeight(), 707);
  // Shown again, it does not grow a second time.
  f.form.Hide();
  f.form.Show();
  EXPECT_EQ(f.form.ClientWidth(), 902);
}

TEST(FormScaling, CentredOnTheScreenWhenShown) {
  TMemoryDesktop desk;
  TScaledForm f(desk);
  f.form.Show();
  const TRect outer = f.form.Window()->Bounds();
  EXPECT_EQ(outer.Left, (1280 - outer.Width()) / 2);
  EXPECT_EQ(outer.Top, (1024 - outer.Height()) / 2);
}

}  // namespace
}  // namespace vormix
