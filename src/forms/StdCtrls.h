#pragma once
// The plain standard controls: push button and single-line edit, each on the platform's
// own native control; and how much text a text area may hold.
#include <cstddef>
#include <string>
#include <string_view>

#include "forms/Controls.h"

namespace vormix {

// The windowing library's push button: its caption, the roles of default and cancel
// button, the modal result it gives its form, and the keys that click it. How it looks,
// and how a press reaches it, belong to the drawn button built on it.
class TButton : public TWinControl {
 public:
  const std::string& Caption() const { return m_caption; }
  void SetCaption(const std::string& caption);
  bool Default = false;  // Enter clicks it while the focus is on a control that is not a button
  bool Cancel = false;   // Escape clicks it
  int ModalResult = 0;   // given to the form by a click; 0 keeps a modal form open
  bool WordWrap = false;  // the caption may take several lines

  TNotifyEvent OnClick;
  virtual void Click();
  bool WantsDialogKey(TKey key, TShiftState shift) override;
  bool WantsDialogChar(char16_t ch) override;
  // The button that Enter clicks now: the focused button, or the default button while
  // the focus is on a control that is not a push button.
  bool IsActiveButton() const;
  // The form's focus moved: the button looks like the default one when it is active.
  void ActiveControlChanged() { SetButtonStyle(IsActiveButton()); }

 protected:
  explicit TButton(std::string name = {});
  TDialogCodes DialogCodes(TShiftState) const override { return dcButton; }
  void Clicked() override { Click(); }
  // The request to look like the default button or not.
  virtual void SetButtonStyle(bool /*isDefault*/) {}

 private:
  std::string m_caption;
};

// The character marked by an ampersand in a caption ("&&" stands for a plain one), or 0.
char16_t AcceleratorOf(std::string_view caption);
// Whether a typed character selects that accelerator (letters in either case).
bool IsAccelerator(char16_t ch, std::string_view caption);

// Edits on the native edit control; positions count UTF-16 code units.
class TCustomEdit : public TWinControl {
 public:
  explicit TCustomEdit(std::string name = {});
  INativeEdit* EditWindow() const { return dynamic_cast<INativeEdit*>(Window()); }
  void SelectAll();
  bool AutoSelect = true;
  bool ReadOnly = false;
  TNotifyEvent OnChange;

 protected:
  TDialogCodes DialogCodes(TShiftState) const override { return dcWantArrows | dcWantChars; }
  void DoEnter() override;
  void TextChanged() override;
  virtual TNativeEditStyle EditStyle() const { return {}; }
  std::unique_ptr<INativeWindow> CreateNativeWindow(IWindowSystem& system,
                                                    const TNativeWindowParams& params) override;
};

class TEdit : public TCustomEdit {
 public:
  using TCustomEdit::TCustomEdit;
};

// How much text a text area may hold, in UTF-16 code units. Without a limit of its own a huge
// batch would make the native control (and the memory behind it) the limit, and lose
// the tail silently. The native multi-line edit control takes its whole text in time
// proportional to its size: under Wine, with the window's font, some 1.7 s per million
// units of typical commands, far less on Windows. 6 Mi units hold 100,000 commands of a
// 40-character template with room to spare (about 60 units each), and a batch that
// would not fit ends with an error within seconds too. The native control itself is
// given no smaller limit (see the Win32 edit adapter), so this one is the one in force.
constexpr std::size_t kMemoCapacity = std::size_t{6} * 1024 * 1024;

}  // namespace vormix
