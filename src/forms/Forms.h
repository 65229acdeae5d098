#pragma once
// Forms and the application object.
#include <exception>
#include <string>
#include <vector>

#include "base/Error.h"
#include "forms/Controls.h"
#include "platform/Platform.h"

namespace vormix {

class TApplication;

enum class TFormPosition { poDesigned, poScreenCenter };

// Modal results: what a modal form answers when it closes.
constexpr int mrNone = 0, mrOk = 1, mrCancel = 2;

class TCustomForm : public TWinControl {
 public:
  TCustomForm(TApplication& application, std::string name);
  ~TCustomForm() override;

  TApplication& Application() const { return m_application; }

  const std::string& Caption() const { return m_caption; }
  void SetCaption(const std::string& caption);
  int ClientWidth() const { return m_clientSize.Width; }
  int ClientHeight() const { return m_clientSize.Height; }
  void SetClientSize(int width, int height);
  TFormPosition Position() const { return m_position; }
  void SetPosition(TFormPosition position) { m_position = position; }
  void SetBorderStyle(const TNativeFormStyle& style) { m_borderStyle = style; }
  const TNativeFormStyle& BorderStyle() const { return m_borderStyle; }
  // The screen resolution the stored layout was made for.
  int PixelsPerInch() const { return m_pixelsPerInch; }

  void Show();
  void Hide();
  // A modal form closes with the cancel result unless a button gave it another.
  void Close();
  // Shows the form over the program's other windows, which stay disabled until it
  // closes, and handles messages until then; answers the modal result.
  int ShowModal();
  bool IsModal() const { return m_modal; }
  INativeForm* FormWindow() const { return dynamic_cast<INativeForm*>(Window()); }

  // Focus within the form.
  TWinControl* ActiveControl() const { return m_activeControl; }
  void FocusControl(TWinControl* control);
  void ControlGotFocus(TWinControl* control);
  void ControlRemoved(TWinControl* control);
  void SelectFirst();
  void SelectNext(TWinControl* current, bool forward);
  TWinControl* FindNextControl(TWinControl* current, bool forward) const;
  // Tab and the arrows move the focus; any other key is offered to the controls, and
  // Alt with a letter or digit is an accelerator.
  bool DialogKey(TKey key, TShiftState shift);
  // An accelerator character, offered to the controls in tab order.
  bool DialogChar(char16_t ch);

  // What the button that closed a modal form gave it; 0 while it stays open.
  int ModalResult() const { return m_modalResult; }
  void SetModalResult(int result) { m_modalResult = result; }

  TNotifyEvent OnClose;

 protected:
  std::unique_ptr<INativeWindow> CreateNativeWindow(IWindowSystem& system,
                                                    const TNativeWindowParams& params) override;
  void NativeFocusIn() override;
  void NativeActivated() override;
  void NativeCloseRequested() override;
  void BoundsChanged() override {}  // the form's place is the native frame's business

 private:
  void ScaleToScreen();
  void PlaceOnScreen();
  // Every push button learns whether it is the active one now.
  void FocusChanged();

  TApplication& m_application;
  std::string m_caption;
  TSize m_clientSize{320, 240};
  TFormPosition m_position = TFormPosition::poScreenCenter;
  TNativeFormStyle m_borderStyle;
  TWinControl* m_activeControl = nullptr;
  bool m_inFocusChange = false;
  int m_modalResult = 0;
  bool m_modal = false;
  bool m_scaled = false;
  int m_pixelsPerInch = 96;
};

// While a system dialog is open the program's other windows are disabled, so that the
// dialog is modal to the whole program and not only to its owner.
class TModalScope {
 public:
  TModalScope(TApplication& application, TCustomForm* owner);
  ~TModalScope();
  TModalScope(const TModalScope&) = delete;
  TModalScope& operator=(const TModalScope&) = delete;

 private:
  std::vector<INativeWindow*> m_disabled;
};

class TApplication {
 public:
  explicit TApplication(const TPlatform& platform);
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  const TPlatform& Platform() const { return m_platform; }
  const std::string& Title() const { return m_title; }
  void SetTitle(std::string title) { m_title = std::move(title); }

  TCustomForm* MainForm() const { return m_mainForm; }
  void AddForm(TCustomForm* form);
  void RemoveForm(TCustomForm* form);

  // Shows the main form and handles messages until the program is to end.
  void Run();
  void Terminate();
  bool Terminated() const { return m_terminated; }
  void ProcessMessages();

  // The general error report: a modal box with the error's text (a "." added when the
  // text ends in a character above "."), the title as caption and the error icon.
  // A silent error shows nothing.
  void HandleException(std::exception_ptr error);
  void ShowException(const Error& error);
  static std::string ErrorMessageText(const std::string& text);

  // A modal message box owned by the given form (the main form when none is given);
  // the program's other windows are disabled while it is open.
  void MessageBox(const std::string& text, const std::string& caption, TMessageIcon icon,
                  TCustomForm* owner = nullptr);
  void Beep() { m_platform.Beep.MessageBeep(0); }
  const std::vector<TCustomForm*>& Forms() const { return m_forms; }

 private:
  TPlatform m_platform;
  std::string m_title;
  TCustomForm* m_mainForm = nullptr;
  std::vector<TCustomForm*> m_forms;
  bool m_terminated = false;
};

}  // namespace vormix
