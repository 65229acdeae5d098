// The settings a text editor shares with its native edit control: what reaches the
// control, whether set before the control exists or afterwards, and what the user sees
// of them while typing and while the focus comes and goes.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "editors/EditorForm.h"

namespace vormix {
namespace {

// The shared settings as the native control holds them.
std::string NativeSettings(const MemoryEdit& edit) {
  const char* alignments[] = {"left", "right", "center"};
  const char* cases[] = {"normal", "upper", "lower"};
  const char* imeModes[] = {"imDisable", "imClose", "imOpen",   "imDontCare", "imSAlpha",   "imAlpha",
                            "imHira",    "imSKata", "imKata",   "imChinese",  "imSHanguel", "imHanguel"};
  std::string password = edit.PasswordChar() ? std::string(1, static_cast<char>(edit.PasswordChar())) : "none";
  return std::string(alignments[static_cast<int>(edit.Alignment())]) + " case=" +
         cases[static_cast<int>(edit.CharCase())] + " password=" + password +
         (edit.HidesSelection() ? " hides-selection" : " keeps-selection") +
         " ime=" + imeModes[static_cast<int>(edit.ImeMode())] +
         " max=" + (edit.MaxLength() ? std::to_string(edit.MaxLength()) : "none") +
         (edit.Style().ReadOnly ? " read-only" : "");
}

using EditSharedSettings = EditorDesk;

TEST_F(EditSharedSettings, ReachTheNativeControlWhetherSetBeforeItExistsOrAfterwards) {
  using TSet = std::function<void(TcxCustomTextEditProperties&)>;
  struct TRow {
    const char* Name;
    TSet Set;
    const char* Native;  // of an editor without the focus
  };
  const TcxEditVertAlignment top = TcxEditVertAlignment::taTopJustify;
  const TRow rows[] = {
      {"defaults", [](auto&) {}, "left case=normal password=none hides-selection ime=imDontCare max=none"},
      {"right alignment", [&](auto& p) { p.SetAlignment({TAlignment::taRightJustify, top}); },
       "right case=normal password=none hides-selection ime=imDontCare max=none"},
      {"centred", [&](auto& p) { p.SetAlignment({TAlignment::taCenter, top}); },
       "center case=normal password=none hides-selection ime=imDontCare max=none"},
      {"upper case", [](auto& p) { p.SetCharCase(TcxEditCharCase::ecUpperCase); },
       "left case=upper password=none hides-selection ime=imDontCare max=none"},
      {"lower case", [](auto& p) { p.SetCharCase(TcxEditCharCase::ecLowerCase); },
       "left case=lower password=none hides-selection ime=imDontCare max=none"},
      {"password echo", [](auto& p) { p.SetEchoMode(TcxEditEchoMode::eemPassword); },
       "left case=normal password=* hides-selection ime=imDontCare max=none"},
      {"password character without the echo", [](auto& p) { p.SetPasswordChar(u'#'); },
       "left case=normal password=none hides-selection ime=imDontCare max=none"},
      {"password echo with its character",
       [](auto& p) {
         p.SetPasswordChar(u'#');
         p.SetEchoMode(TcxEditEchoMode::eemPassword);
       },
       "left case=normal password=# hides-selection ime=imDontCare max=none"},
      {"selection kept", [](auto& p) { p.SetHideSelection(false); },
       "left case=normal password=none keeps-selection ime=imDontCare max=none"},
      {"Chinese input", [](auto& p) { p.SetImeMode(TImeMode::imChinese); },
       "left case=normal password=none hides-selection ime=imChinese max=none"},
      {"no input method", [](auto& p) { p.SetImeMode(TImeMode::imDisable); },
       "left case=normal password=none hides-selection ime=imDisable max=none"},
      {"maximum length", [](auto& p) { p.SetMaxLength(5); },
       "left case=normal password=none hides-selection ime=imDontCare max=5"},
      {"read-only", [](auto& p) { p.SetReadOnly(true); },
       "left case=normal password=none hides-selection ime=imDontCare max=none read-only"},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TCustomForm form{desk.app, "Form"};
    auto focused = Place<TcxTextEdit>(form, "focused", 8, 8, 120, 21);
    auto before = Place<TcxTextEdit>(form, "before", 8, 40, 120, 21);
    auto after = Place<TcxTextEdit>(form, "after", 8, 72, 120, 21);
    row.Set(before->Properties());
    form.Show();
    row.Set(after->Properties());
    ASSERT_TRUE(focused->Focused());
    EXPECT_EQ(NativeSettings(desk.EditOf(*before)), row.Native) << "set before the native control existed";
    EXPECT_EQ(NativeSettings(desk.EditOf(*after)), row.Native) << "set afterwards";
  }
}

using EditSharedSettingsInUse = EditorForm;

TEST_F(EditSharedSettingsInUse, TypedLettersTakeTheCaseAskedForAndTypingStopsAtTheMaximumLength) {
  first->Properties().SetCharCase(TcxEditCharCase::ecUpperCase);
  first->Properties().SetMaxLength(4);
  first->SetEditValue(Variant::FromString("low"));
  desk.clipboard.SetText("xyz");
  ShowForm();
  EXPECT_EQ(first->Text(), "LOW") << "the control shows every text in its case";
  EXPECT_EQ(Describe(first->EditValue()), "String:low");
  Type("ab1");
  EXPECT_EQ(first->Text(), "AB1");
  Press(vk::Letter('V'), ssCtrl);
  EXPECT_EQ(first->Text(), "AB1X") << "a paste is cut to the room left";
  Type("q");
  EXPECT_EQ(first->Text(), "AB1X");
  Press(vk::Tab);
  EXPECT_EQ(Describe(first->EditValue()), "String:AB1X");

  first->Properties().SetCharCase(TcxEditCharCase::ecLowerCase);
  first->Properties().SetMaxLength(0);
  Press(vk::Tab, ssShift);
  Type("MNopQ");
  EXPECT_EQ(first->Text(), "mnopq") << "the whole text was selected on entry, and no limit is left";
}

// Right-aligned text goes to the left while the user edits it (UseLeftAlignmentOnEditing),
// and back when the focus leaves; a check that fails keeps the focus and the left alignment.
TEST_F(EditSharedSettingsInUse, TheTextIsLeftAlignedWhileEditedUnlessToldOtherwise) {
  bool reject = false;
  for (TcxTextEdit* edit : {first.get(), second.get()}) {
    edit->Properties().SetAlignment({TAlignment::taRightJustify, TcxEditVertAlignment::taTopJustify});
    edit->Properties().OnValidate = [&](TObject&, Variant&, std::string&, bool& error) { error = reject; };
  }
  second->Properties().SetUseLeftAlignmentOnEditing(false);
  ShowForm();
  struct TStep {
    const char* Action;
    std::function<void()> Act;
    TNativeAlignment First, Second;
  };
  const TStep steps[] = {
      {"the first has the focus", [] {}, TNativeAlignment::Left, TNativeAlignment::Right},
      {"the second has it", [&] { Press(vk::Tab); }, TNativeAlignment::Right, TNativeAlignment::Right},
      {"back in the first", [&] { Press(vk::Tab, ssShift); }, TNativeAlignment::Left, TNativeAlignment::Right},
      {"a failed check on leaving",
       [&] {
         reject = true;
         Type("x");
         Press(vk::Tab);
       },
       TNativeAlignment::Left, TNativeAlignment::Right},
      {"the check passes",
       [&] {
         reject = false;
         Press(vk::Tab);
       },
       TNativeAlignment::Right, TNativeAlignment::Right},
  };
  for (const TStep& step : steps) {
    SCOPED_TRACE(step.Action);
    step.Act();
    EXPECT_EQ(desk.EditOf(*first).Alignment(), step.First);
    EXPECT_EQ(desk.EditOf(*second).Alignment(), step.Second);
  }
  EXPECT_TRUE(second->Focused());
}

}  // namespace
}  // namespace vormix
