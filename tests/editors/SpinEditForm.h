#pragma once
// A form on the memory desktop with a text editor first in tab order and three numeric
// fields after it, set up the way the main window's fields are: a base that keeps its
// first 0, a step that stores 1 and a count that stores 100. Showing the form puts the
// focus into the text editor, so every field starts unfocused.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "editors/EditorForm.h"
#include "editors/cxSpinEdit.h"

namespace vormix {

class SpinEditForm : public EditorDesk {
 public:
  SpinEditForm() {
    for (TcxSpinEdit* field : {base.get(), step.get(), count.get()}) Watch(*field);
    form.Show();
  }

  // Focus and value events go to log.
  void Watch(TcxSpinEdit& field) {
    const std::string name = field.Name();
    field.OnEnter = [this, name](TObject&) { log.push_back("enter " + name); };
    field.OnExit = [this, name](TObject&) { log.push_back("exit " + name); };
    field.Properties().OnEditValueChanged = [this, name](TObject&) { log.push_back("value " + name); };
  }

  void Press(TKey key, TShiftState shift = 0) { desk.windows.PressKey(key, shift); }
  void Type(const std::string& text) { desk.windows.TypeText(text); }
  // Into the field, its whole text deleted, then the new text typed.
  void TypeInto(TcxSpinEdit& field, const std::string& text) {
    field.SetFocus();
    field.SelectAll();
    Press(vk::Delete);
    Type(text);
  }
  // Into the field, its whole text deleted, then the clipboard text pasted with Ctrl+V.
  void PasteInto(TcxSpinEdit& field, const std::string& clipboard) {
    field.SetFocus();
    field.SelectAll();
    Press(vk::Delete);
    Paste(clipboard);
  }
  void Paste(const std::string& clipboard) {
    desk.clipboard.SetText(clipboard);
    Press(vk::Letter('V'), ssCtrl);
  }
  void Leave() { Press(vk::Tab); }

  TCustomForm form{desk.app, "Form"};
  std::unique_ptr<TcxTextEdit> other = Place<TcxTextEdit>(form, "other", 8, 8, 120, 21);
  std::unique_ptr<TcxSpinEdit> base = Place<TcxSpinEdit>(form, "base", 8, 40, 75, 20);
  std::unique_ptr<TcxSpinEdit> step = Stored(form, "step", 70, 1);
  std::unique_ptr<TcxSpinEdit> count = Stored(form, "count", 100, 100);
  std::vector<std::string> log;

 private:
  // A field whose form stores a Value, applied while the field is being loaded.
  static std::unique_ptr<TcxSpinEdit> Stored(TCustomForm& form, const char* name, int top, std::int64_t value) {
    auto field = Place<TcxSpinEdit>(form, name, 8, top, 75, 20);
    field->BeginLoading();
    field->SetValue(value);
    field->EndLoading();
    return field;
  }
};

}  // namespace vormix
