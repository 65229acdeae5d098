#pragma once
// The text editor: an editor whose text lives in a native edit control inside its frame.
#include <exception>
#include <memory>
#include <string>

#include "editors/cxEdit.h"

namespace vormix {

enum class TcxEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum class TcxEditEchoMode { eemNormal, eemPassword };

class TcxCustomTextEditProperties : public TcxCustomEditProperties {
 public:
  using TcxCustomEditProperties::TcxCustomEditProperties;
  void Assign(const TcxCustomEditProperties& source) override;

  TcxEditCharCase CharCase() const { return m_charCase; }
  void SetCharCase(TcxEditCharCase value) { Set(m_charCase, value); }
  TcxEditEchoMode EchoMode() const { return m_echoMode; }
  void SetEchoMode(TcxEditEchoMode value) { Set(m_echoMode, value); }
  char16_t PasswordChar() const { return m_passwordChar; }
  void SetPasswordChar(char16_t value) { Set(m_passwordChar, value); }
  int MaxLength() const { return (AssignedValues() & evMaxLength) ? m_maxLength : 0; }
  void SetMaxLength(int value);
  bool OEMConvert() const { return m_oemConvert; }
  void SetOEMConvert(bool value) { Set(m_oemConvert, value); }
  TImeMode ImeMode() const { return m_imeMode; }
  void SetImeMode(TImeMode value) { Set(m_imeMode, value); }

  bool CanCheckText() const override { return true; }
  bool ChecksEquality() const override { return true; }
  bool ValueRaisesOnlyOnChange() const override { return true; }
  void CheckText(Variant& displayValue, std::string& errorText, TcxCustomEdit& edit, bool& error) override;

  static constexpr const char* kInvalidInputText = "Invalid input value. Use escape key to abandon changes";

 private:
  TcxEditCharCase m_charCase = TcxEditCharCase::ecNormal;
  TcxEditEchoMode m_echoMode = TcxEditEchoMode::eemNormal;
  char16_t m_passwordChar = 0;
  int m_maxLength = 0;
  bool m_oemConvert = false;
  TImeMode m_imeMode = TImeMode::imDontCare;
};

class TcxCustomTextEdit;

// The native edit control inside a text editor. It reports to the editor as if the
// editor's own window had the focus and the keys, and remembers whether a mouse press
// landed on the text itself (which places the caret instead of selecting everything).
class TcxCustomInnerTextEdit : public INativeWindowHandler {
 public:
  explicit TcxCustomInnerTextEdit(TcxCustomTextEdit& edit) : m_edit(edit) {}
  INativeEdit* Native() const { return m_native.get(); }
  void Create(IWindowSystem& system, const TNativeWindowParams& params, const TNativeEditStyle& style);
  void Destroy() { m_native.reset(); }
  bool PressedOnText() const { return m_pressedOnText; }
  // Entering by keyboard (or by a press that did not land on the text) selects the whole
  // text of a single-line control; the editor passes its setting on.
  bool AutoSelect() const { return m_autoSelect; }
  void SetAutoSelect(bool autoSelect) { m_autoSelect = autoSelect; }

  void NativeFocusIn() override;
  void NativeFocusOut() override;
  bool NativeDialogKey(TKey key, TShiftState shift) override;
  void NativeKeyDown(TKey& key, TShiftState shift) override;
  void NativeChar(char16_t& ch) override;
  void NativeKeyUp(TKey& key, TShiftState shift) override;
  bool NativeMouseDown(TMouseButton button, TPoint at, TShiftState shift) override;
  void NativeMouseUp(TMouseButton button, TPoint at, TShiftState shift) override;
  // The pointer over the text is over the editor: its hot state follows.
  void NativeMouseEnter() override;
  void NativeMouseLeave() override;
  void NativeMouseMove(TPoint at, TShiftState shift) override;
  // The native control has no use for the wheel; the editor may.
  bool NativeMouseWheel(int delta, TPoint at, TShiftState shift) override;
  void NativeTextChanged() override;
  void NativeScrolled() override;
  bool NativePaste() override;
  bool NativeCut() override;

 private:
  TcxCustomTextEdit& m_edit;
  std::unique_ptr<INativeEdit> m_native;
  bool m_pressedOnText = false;
  bool m_autoSelect = true;
};

class TcxCustomTextEdit : public TcxCustomEdit {
 public:
  ~TcxCustomTextEdit() override;

  std::string Text() const override;
  void SetText(const std::string& text) override;  // a program assignment of the text as value
  INativeEdit* InnerEdit() const { return m_inner.Native(); }
  INativeWindow* FocusWindow() const override { return m_inner.Native(); }
  TcxCustomTextEditProperties& Properties() const {
    return static_cast<TcxCustomTextEditProperties&>(TcxCustomEdit::Properties());
  }

  void SelectAll();
  std::size_t SelStart() const;
  std::size_t SelLength() const;
  void SetSelection(std::size_t start, std::size_t length);

  // The preferred height: the text "Zg" plus 4, within the content margins.
  int PreferredHeight() const;

 protected:
  TcxCustomTextEdit(std::string name, std::unique_ptr<TcxCustomTextEditProperties> properties);
  friend class TcxCustomInnerTextEdit;

  bool KeyEditsText(TKey key, TShiftState shift) const override;
  bool CharEditsText(char16_t ch) const override;
  void PutDisplayText(const std::string& text) override;
  void RefreshText() override;
  void TakeValueOf(const std::string& text) override;
  void SelectAllText() override { SelectAll(); }
  void ApplySettings() override;
  void DoEnter() override;
  void DoExit() override;
  void TextChanged() override;
  // The value that the current text stands for; the plain text editor takes the text.
  virtual Variant TextToValue(const std::string& text);
  virtual bool IsMultiLine() const { return false; }
  // Whether Tab goes into the text as a character instead of moving the focus.
  virtual bool WantsTabCharacter() const { return false; }
  // The layout has put the native control in its place.
  virtual void InnerEditPlaced() {}
  // The native control scrolled, or what it has to scroll changed.
  virtual void InnerScrolled() {}
  // Makes a new native control in place of the present one, for a style it only takes
  // when it is created; the text, the selection and the focus go over.
  void RecreateInnerEdit();

  std::unique_ptr<INativeWindow> CreateNativeWindow(IWindowSystem& system,
                                                    const TNativeWindowParams& params) override;
  void NativeWindowCreated() override;
  void DestroyHandle() override;
  void FontChanged() override;
  void NativeFocusIn() override;
  bool HasEditableText() const override { return !Properties().ReadOnly(); }

  // Lays the control out: the frame and buttons, the automatic height, then the native
  // control in the text area.
  void UpdateLayout();
  void CalculateLayout() override { UpdateLayout(); }
  virtual TRect TextAreaRect() const { return ViewInfo().ClientRect; }
  virtual TNativeEditStyle InnerEditStyle() const;
  bool IsSynchronizingText() const { return m_synchronizing; }

 private:
  int TextHeight() const;
  // The native control's report of a text change. A change the editor itself put in
  // (not the user's typing) may fail in a handler: that error goes back to whoever put
  // the text, after the native control is done, instead of to the error report.
  void InnerTextChanged();
  // The settings the native control shares, as they stand now.
  void PassSettingsToNative();
  TNativeAlignment NativeAlignment() const;
  TNativeCharCase NativeCharCase() const;

  TcxCustomInnerTextEdit m_inner{*this};
  std::string m_text;  // kept while there is no native control, for the one to come
  bool m_synchronizing = false;
  bool m_puttingText = false;
  std::exception_ptr m_putError;
  bool m_updatingLayout = false;
};

// The plain text editor.
class TcxTextEdit : public TcxCustomTextEdit {
 public:
  explicit TcxTextEdit(std::string name = {});
};

}  // namespace vormix
