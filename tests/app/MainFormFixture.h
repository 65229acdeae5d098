#pragma once
// The main window shown on the memory desktop, with the few moves its tests repeat.
#include <gtest/gtest.h>

#include <string>

#include "app/MainFrm.h"
#include "forms/MemoryDesktop.h"

namespace vormix {

class MainFormTest : public testing::Test {
 protected:
  void SetUp() override { form.Show(); }

  void Press(TPushButton& button) { desk.windows.Click(*button.Window()); }
  // Template, count and parameter fields as a user would leave them, then a click on the
  // generate button.
  void Generate(const std::string& templ, std::int64_t count) {
    form.cxMemo1->SetText(templ);
    form.cxSpinEdit17->SetValue(count);
    Press(*form.cxButton1);
  }
  std::string Results() const { return form.cxMemo2->Text(); }
  // Replaces a field's text the way a user does: into the field, everything selected and
  // deleted, then the new text typed.
  void Type(TNumericField& field, const std::string& text) {
    field.SetFocus();
    field.SelectAll();
    desk.windows.PressKey(vk::Delete);
    desk.windows.TypeText(text);
  }
  const TShownMessage& OnlyMessage() const {
    EXPECT_EQ(desk.messageBox.Shown.size(), 1u);
    return desk.messageBox.Shown.at(0);
  }

  TMemoryDesktop desk;
  TMainForm form{desk.app};
};

}  // namespace vormix
