#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>

#include "forms/MemoryDesktop.h"
#include "forms/StdCtrls.h"
#include "lookandfeel/cxButtons.h"

namespace vormix {
namespace {

class ApplicationTest : public testing::Test {
 protected:
  void SetUp() override { form.Show(); }

  // Clicks the button with a handler that throws, and answers what the user was shown.
  void ClickThrowing(const std::function<void()>& thrower) {
    button->OnClick = [thrower](TObject&) { thrower(); };
    desk.windows.Click(*button->Window());
  }

  TMemoryDesktop desk;
  TCustomForm form{desk.app, "Form"};
  std::unique_ptr<TcxButton> button = Place<TcxButton>(form, "button", 0, 0);
  std::unique_ptr<TEdit> edit = Place<TEdit>(form, "edit", 0, 30);
};

using ApplicationErrorReport = ApplicationTest;

TEST_F(ApplicationErrorReport, AddsAFullStopWhenTheLastCharacterSortsAfterIt) {
  struct Case {
    const char* text;
    const char* shown;
  };
  const Case cases[] = {
      {"abc", "abc."},    {"x)", "x)"},           {"a.", "a."},         {"a-", "a-"},  // '-' sorts before '.'
      {"a/", "a/."},      {"1", "1."},            {"错误", "错误."},    {"Text exceeds memo capacity", "Text exceeds memo capacity."},
      {"提示！", "提示！."}, {"Overflow while converting variant of type (Int64) into type (Integer)",
                              "Overflow while converting variant of type (Int64) into type (Integer)"},
  };
  for (const Case& c : cases) {
    desk.messageBox.Shown.clear();
    ClickThrowing([&] { throw Error(c.text); });
    ASSERT_EQ(desk.messageBox.Shown.size(), 1u) << c.text;
    const TShownMessage& shown = desk.messageBox.Shown[0];
    EXPECT_EQ(shown.Text, c.shown);
    EXPECT_EQ(shown.Caption, "Vormix");
    EXPECT_EQ(shown.Icon, TMessageIcon::Error);
    EXPECT_EQ(shown.Owner, form.Window());
  }
}

TEST_F(ApplicationErrorReport, SilentErrorShowsNothing) {
  ClickThrowing([] { throw Error::Silent(); });
  ClickThrowing([] { throw Error(""); });
  EXPECT_TRUE(desk.messageBox.Shown.empty());
}

TEST_F(ApplicationErrorReport, OtherExceptionsAreReportedByTheirText) {
  ClickThrowing([] { throw std::runtime_error("disk full"); });
  ClickThrowing([] { throw std::bad_alloc(); });
  ClickThrowing([] { throw 42; });
  ASSERT_EQ(desk.messageBox.Shown.size(), 3u);
  EXPECT_EQ(desk.messageBox.Shown[0].Text, "disk full.");
  EXPECT_EQ(desk.messageBox.Shown[1].Text, "Out of memory.");
  EXPECT_EQ(desk.messageBox.Shown[2].Text, "Unknown error.");
}

TEST_F(ApplicationErrorReport, ProgramGoesOnAfterTheReport) {
  int clicks = 0;
  ClickThrowing([&] {
    ++clicks;
    throw Error("failed");
  });
  EXPECT_TRUE(desk.HasFocus(*button));
  desk.windows.Click(*edit->Window());
  desk.windows.TypeText("ok");
  EXPECT_EQ(edit->Text(), "ok");
  desk.windows.Click(*button->Window());
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(desk.messageBox.Shown.size(), 2u);
}

TEST_F(ApplicationErrorReport, ErrorsFromKeyHandlersAreReportedToo) {
  edit->OnKeyPress = [](TObject&, char16_t& key) {
    if (key == u'!') throw Error("no exclamation marks");
  };
  edit->SetFocus();
  desk.windows.TypeText("a!b");
  ASSERT_EQ(desk.messageBox.Shown.size(), 1u);
  EXPECT_EQ(desk.messageBox.Shown[0].Text, "no exclamation marks.");
  EXPECT_EQ(edit->Text(), "ab");
}

TEST_F(ApplicationErrorReport, OtherWindowsAreDisabledWhileTheBoxIsOpen) {
  TCustomForm second{desk.app, "Second"};
  second.Show();
  bool secondEnabledMeanwhile = true;
  desk.messageBox.WhileShown = [&](const TShownMessage&) { secondEnabledMeanwhile = second.Window()->IsEnabled(); };
  ClickThrowing([] { throw Error("x"); });
  EXPECT_FALSE(secondEnabledMeanwhile);
  EXPECT_TRUE(second.Window()->IsEnabled());
  EXPECT_TRUE(form.Window()->IsEnabled());
}

}  // namespace
}  // namespace vormix
