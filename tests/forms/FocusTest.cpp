#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/ExtCtrls.h"
#include "forms/MemoryDesktop.h"
#include "forms/StdCtrls.h"
#include "lookandfeel/cxButtons.h"

namespace vormix {
namespace {

// A field that will not let the focus go while it is set to refuse, the way a field
// whose text fails its check takes the focus back when it is left.
class TStubbornEdit : public TEdit {
 public:
  using TEdit::TEdit;
  bool Refuse = false;
  void DoExit() override {
    TEdit::DoExit();
    if (Refuse) SetFocus();
  }
};

class FocusTest : public testing::Test {
 protected:
  FocusTest() {
    // Created in another order than the tab order, which is what counts.
    third->SetTabOrder(2);
    first->SetTabOrder(0);
    second->SetTabOrder(1);
    button->SetTabOrder(3);
    for (TWinControl* c : Controls()) {
      c->OnEnter = [this, c](TObject&) { log.push_back("enter " + c->Name()); };
      c->OnExit = [this, c](TObject&) { log.push_back("exit " + c->Name()); };
    }
    button->OnClick = [this](TObject&) { log.push_back("click"); };
  }

  std::vector<TWinControl*> Controls() const { return {first.get(), second.get(), third.get(), button.get()}; }

  // Name of the control holding the focus, as the window system sees it.
  std::string FocusedName() const {
    for (const TWinControl* c : Controls())
      if (desk.HasFocus(*c)) return c->Name();
    return "nothing";
  }

  std::vector<std::string> Tabbing(int presses, TShiftState shift = 0) {
    std::vector<std::string> visited;
    for (int i = 0; i < presses; ++i) {
      desk.windows.PressKey(vk::Tab, shift);
      visited.push_back(FocusedName());
    }
    return visited;
  }

  TMemoryDesktop desk;
  TCustomForm form{desk.app, "Form"};
  std::unique_ptr<TPanel> panel = Place<TPanel>(form, "panel", 0, 100, 200, 50);  // takes no focus
  std::unique_ptr<TStubbornEdit> third = Place<TStubbornEdit>(form, "third", 0, 40);
  std::unique_ptr<TStubbornEdit> first = Place<TStubbornEdit>(form, "first", 0, 0);
  std::unique_ptr<TStubbornEdit> second = Place<TStubbornEdit>(form, "second", 0, 20);
  std::unique_ptr<TcxButton> button = Place<TcxButton>(form, "button", 0, 60);
  std::vector<std::string> log;
};

using FormFocus = FocusTest;
using FormTabOrder = FocusTest;
using ButtonPress = FocusTest;

TEST_F(FormFocus, FirstControlInTabOrderIsFocusedWhenShown) {
  form.Show();
  EXPECT_EQ(FocusedName(), "first");
  EXPECT_EQ(form.ActiveControl(), first.get());
  EXPECT_EQ(log, (std::vector<std::string>{"enter first"}));
}

TEST_F(FormTabOrder, TabAndShiftTabCycleThroughFocusableControls) {
  form.Show();
  EXPECT_EQ(Tabbing(5), (std::vector<std::string>{"second", "third", "button", "first", "second"}));
  EXPECT_EQ(Tabbing(5, ssShift), (std::vector<std::string>{"first", "button", "third", "second", "first"}));
}

TEST_F(FormTabOrder, SkipsDisabledAndHiddenControls) {
  form.Show();
  second->SetEnabled(false);
  EXPECT_EQ(Tabbing(3), (std::vector<std::string>{"third", "button", "first"}));
  second->SetEnabled(true);
  third->SetVisible(false);
  EXPECT_EQ(Tabbing(3), (std::vector<std::string>{"second", "button", "first"}));
}

TEST_F(FormFocus, LeavingRunsExitBeforeEnter) {
  form.Show();
  log.clear();
  desk.windows.PressKey(vk::Tab);
  desk.windows.Click(*third->Window());
  EXPECT_EQ(log, (std::vector<std::string>{"exit first", "enter second", "exit second", "enter third"}));
}

TEST_F(FormFocus, ControlThatRefusesToBeLeftKeepsTheFocus) {
  form.Show();
  first->Refuse = true;
  log.clear();
  desk.windows.PressKey(vk::Tab);
  desk.windows.Click(*third->Window());
  EXPECT_EQ(FocusedName(), "first");
  EXPECT_EQ(form.ActiveControl(), first.get());
  EXPECT_EQ(log, (std::vector<std::string>{"exit first", "exit first"})) << "the others are never entered";

  first->Refuse = false;
  desk.windows.PressKey(vk::Tab);
  EXPECT_EQ(FocusedName(), "second");
}

TEST_F(ButtonPress, TakesTheFocusThenClicks) {
  form.Show();
  log.clear();
  desk.windows.Click(*button->Window());
  EXPECT_EQ(FocusedName(), "button");
  EXPECT_EQ(log, (std::vector<std::string>{"exit first", "enter button", "click"}));
}

TEST_F(ButtonPress, IsDroppedWhenTheFocusCannotLeaveAField) {
  form.Show();
  first->Refuse = true;
  log.clear();
  desk.windows.Click(*button->Window());
  EXPECT_EQ(FocusedName(), "first");
  EXPECT_EQ(log, (std::vector<std::string>{"exit first"}));
  EXPECT_EQ(dynamic_cast<MemoryButton&>(*button->Window()).Clicks(), 0);

  first->Refuse = false;
  desk.windows.Click(*button->Window());
  EXPECT_EQ(log.back(), "click");
}

}  // namespace
}  // namespace vormix
