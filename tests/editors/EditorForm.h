#pragma once
// A small form on the memory desktop with two text editors and a push button, in that
// tab order, and a log of what their events report. Helpers name the edit-cycle state
// an editor is in, as its published flags show it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "editors/cxTextEdit.h"
#include "forms/MemoryDesktop.h"
#include "forms/StdCtrls.h"
#include "lookandfeel/cxButtons.h"

namespace vormix {

// "Null", "String:abc", "Int64:1".
inline std::string Describe(const Variant& value) {
  if (value.IsNull() || value.IsEmpty()) return VarTypeName(value.Type());
  return VarTypeName(value.Type()) + ":" + VariantToString(value);
}

// Unfocused, Clean, Edited or Checked.
inline std::string StateOf(const TcxCustomEdit& edit) {
  if (!edit.Focused()) return edit.EditedSinceEnter() ? "Unfocused but edited" : "Unfocused";
  if (!edit.EditedSinceEnter()) return "Clean";
  return edit.TextChecked() ? "Checked" : "Edited";
}

inline std::string CharName(char16_t ch) {
  if (ch >= 32 && ch < 127) return std::string(1, static_cast<char>(ch));
  return "#" + std::to_string(static_cast<int>(ch));
}

// The memory desktop with what every editor test reads off it.
class EditorDesk : public testing::Test {
 protected:
  static std::string Selection(const TcxCustomTextEdit& edit) {
    return std::to_string(edit.SelStart()) + "+" + std::to_string(edit.SelLength());
  }
  static std::string WholeText(const TcxCustomTextEdit& edit) { return "0+" + std::to_string(edit.Text().size()); }

  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const TShownMessage& m : desk.messageBox.Shown) texts.push_back(m.Text);
    return texts;
  }
  std::size_t Beeps() const { return desk.beep.Beeps.size(); }

  TMemoryDesktop desk;
};

class EditorForm : public EditorDesk {
 protected:
  EditorForm() {
    button->SetCaption("OK");
    for (TcxTextEdit* edit : {first.get(), second.get()}) Watch(*edit);
    button->OnEnter = [this](TObject&) { log.push_back("enter button"); };
    button->OnClick = [this](TObject&) { log.push_back("click button"); };
  }

  // Focus and change events go to log, key events to keys.
  void Watch(TcxTextEdit& edit) {
    const std::string name = edit.Name();
    edit.OnEnter = [this, name](TObject&) { log.push_back("enter " + name); };
    edit.OnExit = [this, name](TObject&) { log.push_back("exit " + name); };
    edit.Properties().OnChange = [this, name](TObject&) { log.push_back("change " + name); };
    edit.Properties().OnEditValueChanged = [this, name](TObject&) { log.push_back("value " + name); };
    edit.OnKeyDown = [this, name](TObject&, TKey& key, TShiftState) {
      keys.push_back("down " + name + " " + std::to_string(key));
    };
    edit.OnKeyPress = [this, name](TObject&, char16_t& ch) { keys.push_back("press " + name + " " + CharName(ch)); };
    edit.OnKeyUp = [this, name](TObject&, TKey& key, TShiftState) {
      keys.push_back("up " + name + " " + std::to_string(key));
    };
  }

  // Shows the form (the first editor gets the focus) and forgets what that logged.
  void ShowForm() {
    form.Show();
    log.clear();
    keys.clear();
  }

  void Press(TKey key, TShiftState shift = 0) { desk.windows.PressKey(key, shift); }
  void Type(const char* text) { desk.windows.TypeText(text); }
  void ClickInto(TcxTextEdit& edit) { desk.windows.Click(*edit.InnerEdit()); }

  TCustomForm form{desk.app, "Form"};
  std::unique_ptr<TcxTextEdit> first = Place<TcxTextEdit>(form, "first", 8, 8, 120, 21);
  std::unique_ptr<TcxTextEdit> second = Place<TcxTextEdit>(form, "second", 8, 40, 120, 21);
  std::unique_ptr<TcxButton> button = Place<TcxButton>(form, "button", 8, 72, 75, 25);
  std::vector<std::string> log;
  std::vector<std::string> keys;
};

using Strings = std::vector<std::string>;

}  // namespace vormix
