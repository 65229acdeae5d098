#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/MainFormFixture.h"

namespace vormix {
namespace {

using MainFormLayout = MainFormTest;
using MainFormTabOrder = MainFormTest;
using MainFormSignKey = MainFormTest;
using MainFormExit = MainFormTest;

TEST_F(MainFormLayout, WindowIsCentredWithItsCaptionAndClientSize) {
  EXPECT_EQ(form.Caption(), "Vormix V2.0");
  EXPECT_EQ(desk.WindowOf(form)->Text(), "Vormix V2.0");
  const TSize client = form.FormWindow()->ClientSize();
  EXPECT_EQ(client.Width, 722);
  EXPECT_EQ(client.Height, 566);
  const TRect outer = form.Window()->Bounds();
  const TRect screen = desk.windows.ScreenRect();
  EXPECT_EQ(outer.Left, (screen.Width() - outer.Width()) / 2);
  EXPECT_EQ(outer.Top, (screen.Height() - outer.Height()) / 2);
  EXPECT_FALSE(form.BorderStyle().Sizeable);
  EXPECT_FALSE(form.BorderStyle().MaximizeBox);
  EXPECT_TRUE(form.BorderStyle().MinimizeBox);
  EXPECT_EQ(form.Font().Name, "宋体");
  EXPECT_EQ(form.Font().Height, -12);
}

TEST_F(MainFormLayout, ControlsSitWhereTheLayoutPutsThem) {
  struct Place {
    const TControl* control;
    const TWinControl* parent;
    int left, top, width, height;
  };
  const TMainForm& f = form;
  const Place places[] = {
      {f.Label1.get(), &f, 20, 14, 156, 12},
      {f.Panel1.get(), &f, 18, 90, 685, 150},
      {f.ParameterLabels[11 - 2].get(), f.Panel1.get(), 15, 118, 66, 12},
      {f.Bevel1.get(), f.Panel1.get(), 1, 71, 682, 5},
      {f.Bevel4.get(), f.Panel1.get(), 514, 1, 5, 147},
      {f.cxSpinEdit1.get(), f.Panel1.get(), 81, 15, 75, 20},
      {f.cxSpinEdit9.get(), f.Panel1.get(), 81, 87, 75, 20},
      {f.cxSpinEdit12.get(), f.Panel1.get(), 252, 114, 75, 20},
      {f.cxSpinEdit16.get(), f.Panel1.get(), 594, 114, 75, 20},
      {f.cxMemo1.get(), &f, 18, 32, 685, 57},
      {f.Panel2.get(), &f, 18, 240, 685, 305},
      {f.Label18.get(), f.Panel2.get(), 15, 16, 60, 12},
      {f.cxMemo2.get(), f.Panel2.get(), 13, 41, 578, 226},
      {f.cxSpinEdit17.get(), f.Panel2.get(), 81, 12, 75, 20},
      {f.cxButton1.get(), f.Panel2.get(), 600, 41, 70, 25},
      {f.cxButton4.get(), f.Panel2.get(), 600, 182, 70, 25},
      {f.cxProgressBar1.get(), f.Panel2.get(), 13, 270, 578, 20},
  };
  for (const Place& p : places) {
    SCOPED_TRACE(p.control->Name());
    EXPECT_EQ(p.control->Parent(), p.parent);
    EXPECT_EQ(p.control->BoundsRect(), TRect::FromBounds(p.left, p.top, p.width, p.height));
    if (auto* windowed = dynamic_cast<const TWinControl*>(p.control)) {
      EXPECT_EQ(desk.WindowOf(*windowed)->Bounds(), p.control->BoundsRect());
      EXPECT_EQ(desk.WindowOf(*windowed)->Parent(), desk.WindowOf(*p.parent));
    }
  }
}

TEST_F(MainFormLayout, CaptionsAndAreaStyles) {
  EXPECT_EQ(form.Label1->Caption(), "命令模板：(参数格式为：%d)");
  EXPECT_EQ(form.ParameterLabels[2 - 2]->Caption(), "参数1基数：");
  EXPECT_EQ(form.ParameterLabels[17 - 2]->Caption(), "参数8步长：");
  EXPECT_EQ(form.Label18->Caption(), "命令数量：");
  const std::pair<TButton*, const char*> buttons[] = {
      {form.cxButton1.get(), "生成命令"}, {form.cxButton2.get(), "保存结果"},
      {form.cxButton3.get(), "关于"},     {form.cxButton4.get(), "退出"}};
  for (const auto& [button, caption] : buttons) EXPECT_EQ(desk.WindowOf(*button)->Text(), caption);

  const TNativeEditStyle templ = desk.EditOf(*form.cxMemo1).Style();
  EXPECT_TRUE(templ.MultiLine && templ.VerticalScrollBar && templ.WordWrap);
  EXPECT_FALSE(templ.HorizontalScrollBar);
  const TNativeEditStyle results = desk.EditOf(*form.cxMemo2).Style();
  EXPECT_TRUE(results.MultiLine && results.VerticalScrollBar && results.HorizontalScrollBar);
  EXPECT_FALSE(results.WordWrap);
  EXPECT_FALSE(desk.EditOf(*form.cxSpinEdit5).Style().MultiLine);
}

// The four buttons are drawn by the program: classic while no theme is in force, with
// the caption box of a 70 x 25 button, and natively once the theme is on.
TEST_F(MainFormLayout, ButtonsAreDrawnStandardAndNativeButtons) {
  for (TcxButton* b : {form.cxButton1.get(), form.cxButton2.get(), form.cxButton3.get(), form.cxButton4.get()}) {
    SCOPED_TRACE(b->Name());
    EXPECT_EQ(b->LookAndFeel().AssignedValues(), lfvsAll);
    EXPECT_EQ(b->LookAndFeel().Kind(), TcxLookAndFeelKind::lfStandard);
    EXPECT_TRUE(b->LookAndFeel().NativeStyle());
    EXPECT_TRUE(dynamic_cast<MemoryButton&>(*desk.WindowOf(*b)).Style().OwnerDraw);
    EXPECT_EQ(&b->ButtonPainter(), &StandardPainter());
    desk.WindowOf(*b)->PaintNow();
    const MemoryCanvas& picture = desk.WindowOf(*b)->Canvas();
    EXPECT_EQ(picture.Pixel(0, 0), ResolveMemoryColor(clBtnHighlight));
    EXPECT_EQ(picture.Pixel(69, 24), ResolveMemoryColor(cl3DDkShadow));
    EXPECT_EQ(picture.Pixel(68, 23), ResolveMemoryColor(clBtnShadow));
  }
  // "生成命令" is 48 wide: its box starts at (11, 6); "关于" (24 wide) at (23, 6).
  EXPECT_EQ(desk.WindowOf(*form.cxButton1)->Canvas().Pixel(11, 6), ResolveMemoryColor(clBtnText));
  EXPECT_EQ(desk.WindowOf(*form.cxButton1)->Canvas().Pixel(10, 6), ResolveMemoryColor(clBtnFace));
  EXPECT_EQ(desk.WindowOf(*form.cxButton3)->Canvas().Pixel(23, 6), ResolveMemoryColor(clBtnText));

  desk.themes.Active = true;
  desk.windows.BroadcastThemeChanged();
  EXPECT_EQ(&form.cxButton1->ButtonPainter(), &WinXPPainter());
}

TEST_F(MainFormLayout, StartsWithBasesZeroStepsOneAndCountHundred) {
  for (int n = 1; n <= 17; ++n) {
    const std::int64_t expected = n == 17 ? 100 : (n % 2 == 0 ? 1 : 0);
    EXPECT_EQ(form.Field(n).Value().AsInt64(), expected) << n;
    EXPECT_EQ(form.Field(n).Text(), std::to_string(expected)) << n;
  }
  EXPECT_EQ(form.cxMemo1->Text(), "");
  EXPECT_EQ(form.cxMemo2->Text(), "");
  EXPECT_EQ(form.cxProgressBar1->Position(), 0);
  EXPECT_EQ(form.cxProgressBar1->Properties().Max(), 100);
}

// --- Focus and the Tab key ---------------------------------------------------------------

std::vector<const TWinControl*> TabCycle(const TMainForm& f) {
  std::vector<const TWinControl*> cycle{f.cxMemo1.get()};
  for (int n = 1; n <= 17; ++n) cycle.push_back(&f.Field(n));
  cycle.push_back(f.cxMemo2.get());
  for (const TButton* b : {f.cxButton1.get(), f.cxButton2.get(), f.cxButton3.get(), f.cxButton4.get()})
    cycle.push_back(b);
  return cycle;
}

TEST_F(MainFormTabOrder, TemplateAreaHasTheFocusAtStart) {
  EXPECT_TRUE(desk.HasFocus(*form.cxMemo1));
}

TEST_F(MainFormTabOrder, TabVisitsEveryInputInOrderAndComesBack) {
  const std::vector<const TWinControl*> cycle = TabCycle(form);
  for (std::size_t i = 1; i <= cycle.size(); ++i) {
    desk.windows.PressKey(vk::Tab);
    const TWinControl& expected = *cycle[i % cycle.size()];
    EXPECT_TRUE(desk.HasFocus(expected)) << "press " << i << " should reach " << expected.Name();
  }
  for (std::size_t i = cycle.size(); i-- > 0;) {
    desk.windows.PressKey(vk::Tab, ssShift);
    EXPECT_TRUE(desk.HasFocus(*cycle[i])) << "Shift+Tab should reach " << cycle[i]->Name();
  }
  EXPECT_EQ(form.cxMemo1->Text(), "") << "Tab inserts nothing into the template";
}

TEST_F(MainFormTabOrder, StepFieldLeadsToTheNextParameter) {
  const std::pair<int, int> steps[] = {{2, 3}, {8, 9}, {16, 17}};
  for (const auto& [from, to] : steps) {
    form.Field(from).SetFocus();
    desk.windows.PressKey(vk::Tab);
    EXPECT_TRUE(desk.HasFocus(form.Field(to))) << from;
  }
}

// --- The sign-key rule ---------------------------------------------------------------------

TEST_F(MainFormSignKey, SignIntoAnEmptyFieldIsAccepted) {
  for (int n = 1; n <= 17; ++n) {
    SCOPED_TRACE(n);
    for (int other = 1; other <= 17; ++other) form.Field(other).SetValue(5);
    Type(form.Field(n), "-7");  // each field decides by its own text, never a neighbour's
    EXPECT_EQ(form.Field(n).Text(), "-7");
    EXPECT_EQ(form.Field(n).Value().AsInt64(), -7);
  }
  Type(*form.cxSpinEdit3, "+4");
  EXPECT_EQ(form.cxSpinEdit3->Text(), "+4");
  EXPECT_TRUE(desk.beep.Beeps.empty());
}

TEST_F(MainFormSignKey, SignIntoAFieldWithTextIsRefusedWithABeep) {
  for (int n = 1; n <= 17; ++n) {
    SCOPED_TRACE(n);
    for (int other = 1; other <= 17; ++other) Type(form.Field(other), "");
    form.Field(n).SetValue(5);
    desk.beep.Beeps.clear();
    form.Field(n).SetFocus();  // entering selects the whole text
    desk.windows.TypeText("-");
    desk.windows.PressKey(vk::End);  // and now with nothing selected
    desk.windows.TypeText("+-");
    EXPECT_EQ(form.Field(n).Text(), "5");
    EXPECT_EQ(desk.beep.Beeps, (std::vector<unsigned>{0, 0, 0}));
  }
}

TEST_F(MainFormSignKey, NegativeBaseIsTypedAfterDeletingTheZero) {
  form.cxSpinEdit1->SetFocus();
  desk.windows.TypeText("-");
  EXPECT_EQ(form.cxSpinEdit1->Text(), "0");
  desk.windows.PressKey(vk::Delete);
  desk.windows.TypeText("-5");
  EXPECT_EQ(form.cxSpinEdit1->Text(), "-5");
  EXPECT_EQ(desk.beep.Beeps.size(), 1u);
}

TEST_F(MainFormSignKey, DigitsAndTheTemplateAreaAreUnaffected) {
  form.cxSpinEdit17->SetFocus();
  desk.windows.TypeText("12");
  EXPECT_EQ(form.cxSpinEdit17->Text(), "12");
  form.cxMemo1->SetFocus();
  desk.windows.TypeText("a+b-c");
  EXPECT_EQ(form.cxMemo1->Text(), "a+b-c");
  EXPECT_TRUE(desk.beep.Beeps.empty());
}

TEST_F(MainFormSignKey, PastedTextIsNotFiltered) {
  desk.clipboard.SetText("-7");
  form.cxSpinEdit4->SetFocus();  // entering selects the whole "1"
  desk.windows.PressKey(vk::Letter('V'), ssCtrl);
  EXPECT_EQ(form.cxSpinEdit4->Text(), "-7");
  // The field's own rule still applies: a paste that would not leave a number is refused.
  desk.windows.PressKey(vk::End);
  desk.windows.PressKey(vk::Letter('V'), ssCtrl);
  EXPECT_EQ(form.cxSpinEdit4->Text(), "-7");
  EXPECT_TRUE(desk.beep.Beeps.empty());
}

// --- Ending the program ----------------------------------------------------------------------

TEST_F(MainFormExit, ExitButtonClosesTheWindowAndEndsTheProgram) {
  Press(*form.cxButton4);
  EXPECT_FALSE(form.Window()->IsVisible());
  EXPECT_TRUE(desk.app.Terminated());
  EXPECT_TRUE(desk.windows.QuitRequested());
  EXPECT_TRUE(desk.messageBox.Shown.empty()) << "nothing is asked";
}

TEST_F(MainFormExit, ClosingTheWindowAnyWayEndsTheProgram) {
  desk.windows.CloseBox(*form.FormWindow());
  EXPECT_TRUE(desk.app.Terminated());
  EXPECT_TRUE(desk.windows.QuitRequested());
}

}  // namespace
}  // namespace vormix
