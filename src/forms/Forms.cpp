#include "forms/Forms.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>

#include "base/Utf.h"
#include "forms/StdCtrls.h"

namespace vormix {

// ---------------------------------------------------------------------------------------
// TCustomForm

TCustomForm::TCustomForm(TApplication& application, std::string name)
    : TWinControl(std::move(name)), m_application(application) {
  TFontSpec font;
  font.Name = "宋体";
  font.Height = -12;
  font.Color = clWindowText;
  SetFont(font);
  SetColor(clBtnFace);
  SetVisible(false);
  m_application.AddForm(this);
}

TCustomForm::~TCustomForm() {
  m_activeControl = nullptr;
  m_application.RemoveForm(this);
}

void TCustomForm::SetCaption(const std::string& caption) {
  m_caption = caption;
  SetText(caption);
}

void TCustomForm::SetClientSize(int width, int height) {
  m_clientSize = {width, height};
  SetBounds(Left(), Top(), width, height);  // a form's own rectangle is its client area
  if (INativeForm* form = FormWindow()) form->SetClientSize(m_clientSize);
}

std::unique_ptr<INativeWindow> TCustomForm::CreateNativeWindow(IWindowSystem& system,
                                                               const TNativeWindowParams& params) {
  TNativeWindowParams p = params;
  p.Text = m_caption;
  p.Visible = false;
  auto form = system.CreateForm(p, m_borderStyle, *this);
  form->SetClientSize(m_clientSize);
  return form;
}

void TCustomForm::ScaleToScreen() {
  if (m_scaled) return;
  m_scaled = true;
  const int dpi = m_application.Platform().Windows.ScreenDpi();
  if (dpi <= 0 || dpi == m_pixelsPerInch) return;
  // The font follows the resolution; positions and sizes follow the character height
  // the font ends up with, so that text and layout stay in proportion.
  const int oldHeight = std::abs(Font().Height);
  TFontSpec font = Font();
  font.Height = static_cast<int>(std::lround(static_cast<double>(font.Height) * dpi / m_pixelsPerInch));
  const int newHeight = std::abs(font.Height);
  SetFont(font);
  if (oldHeight > 0 && newHeight != oldHeight) {
    for (TControl* c : Controls()) c->ScaleBy(newHeight, oldHeight);
    SetClientSize(m_clientSize.Width * newHeight / oldHeight, m_clientSize.Height * newHeight / oldHeight);
  }
  m_pixelsPerInch = dpi;
}

void TCustomForm::PlaceOnScreen() {
  INativeForm* form = FormWindow();
  if (!form || m_position != TFormPosition::poScreenCenter) return;
  const TRect screen = m_application.Platform().Windows.ScreenRect();
  const TRect outer = form->Bounds();
  const int left = screen.Left + (screen.Width() - outer.Width()) / 2;
  const int top = screen.Top + (screen.Height() - outer.Height()) / 2;
  form->SetBounds(TRect::FromBounds(left, top, outer.Width(), outer.Height()));
}

void TCustomForm::Show() {
  ScaleToScreen();
  const bool firstShow = !HandleAllocated();
  HandleNeeded();
  if (firstShow) PlaceOnScreen();
  SetVisible(true);
  if (INativeForm* form = FormWindow()) form->Show();
  if (!m_activeControl) SelectFirst();
}

void TCustomForm::Hide() {
  SetVisible(false);
  if (INativeForm* form = FormWindow()) form->Hide();
}

void TCustomForm::Close() {
  if (OnClose) OnClose(*this);
  if (m_modal) {
    // The modal loop ends and hides the form once the other windows are enabled again,
    // so that the system hands the activation back to the owner and not elsewhere.
    if (m_modalResult == mrNone) m_modalResult = mrCancel;
    return;
  }
  Hide();
  if (m_application.MainForm() == this) m_application.Terminate();
}

int TCustomForm::ShowModal() {
  if (m_modal || IsShowing()) throw Error("Cannot make a visible window modal");
  m_modalResult = mrNone;
  {
    TFlagScope modal(m_modal);
    TModalScope others(m_application, this);
    Show();
    IWindowSystem& windows = m_application.Platform().Windows;
    windows.RunModalLoop([this] { return m_modalResult != mrNone || m_application.Terminated(); });
    if (m_modalResult == mrNone) m_modalResult = mrCancel;
  }
  Hide();
  if (TCustomForm* main = m_application.MainForm(); main && main != this && main->FormWindow() &&
                                                      main->FormWindow()->IsVisible())
    main->FormWindow()->Activate();
  return m_modalResult;
}

void TCustomForm::FocusControl(TWinControl* control) {
  if (!control) return;
  if (control->HandleAllocated() && control->CanFocus() && IsShowing() && control->FocusWindow()) {
    control->FocusWindow()->SetFocus();
  } else if (!m_inFocusChange) {
    m_activeControl = control;
  }
}

// The focus moved to one of our controls. The control that had it is left first; if
// leaving fails (a field whose text does not pass its check takes the focus back), the
// move ends there and the new control is not entered.
void TCustomForm::ControlGotFocus(TWinControl* control) {
  if (m_inFocusChange) {
    m_activeControl = control;
    return;
  }
  TWinControl* previous = m_activeControl;
  if (previous == control) return;
  m_activeControl = control;
  if (previous) {
    {
      TFlagScope changing(m_inFocusChange);
      previous->DoExit();
    }
    if (m_activeControl != control) {
      FocusChanged();
      return;
    }
  }
  FocusChanged();
  control->DoEnter();
}

void TCustomForm::FocusChanged() {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  for (TWinControl* c : list)
    if (auto* button = dynamic_cast<TButton*>(c)) button->ActiveControlChanged();
}

void TCustomForm::ControlRemoved(TWinControl* control) {
  if (m_activeControl == control) m_activeControl = nullptr;
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  for (TWinControl* c : list)
    if (c != control) c->ControlLeavingForm(control);
}

void TCustomForm::SelectFirst() {
  if (TWinControl* first = FindNextControl(nullptr, true)) FocusControl(first);
}

TWinControl* TCustomForm::FindNextControl(TWinControl* current, bool forward) const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  const int count = static_cast<int>(list.size());
  auto at = std::find(list.begin(), list.end(), current);
  int start = at == list.end() ? (forward ? count - 1 : 0) : static_cast<int>(at - list.begin());
  for (int step = 1; step <= count; ++step) {
    const int i = ((start + (forward ? step : -step)) % count + count) % count;
    TWinControl* candidate = list[i];
    if (candidate != current && candidate->TabStop() && candidate->CanFocus()) return candidate;
  }
  return nullptr;
}

void TCustomForm::SelectNext(TWinControl* current, bool forward) {
  if (TWinControl* next = FindNextControl(current, forward)) FocusControl(next);
}

bool TCustomForm::DialogKey(TKey key, TShiftState shift) {
  if (key == vk::Tab) {
    if (shift & (ssCtrl | ssAlt)) return false;
    SelectNext(m_activeControl, (shift & ssShift) == 0);
    return true;
  }
  const bool letterOrDigit = (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9');
  if ((shift & ssAlt) && !(shift & ssCtrl) && letterOrDigit) return DialogChar(static_cast<char16_t>(key));
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  for (TWinControl* c : list)
    if (c->WantsDialogKey(key, shift)) return true;
  return false;
}

bool TCustomForm::DialogChar(char16_t ch) {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  for (TWinControl* c : list)
    if (c->WantsDialogChar(ch)) return true;
  return false;
}

void TCustomForm::NativeFocusIn() {
  // The frame itself got the focus (activation): hand it on to the active control.
  Guarded([&] {
    if (m_activeControl && m_activeControl->CanFocus()) FocusControl(m_activeControl);
    else SelectFirst();
  });
}

void TCustomForm::NativeActivated() { NativeFocusIn(); }

void TCustomForm::NativeCloseRequested() {
  Guarded([&] { Close(); });
}

// ---------------------------------------------------------------------------------------
// TApplication

TApplication::TApplication(const TPlatform& platform) : m_platform(platform) {}

void TApplication::AddForm(TCustomForm* form) {
  m_forms.push_back(form);
  if (!m_mainForm) m_mainForm = form;
}

void TApplication::RemoveForm(TCustomForm* form) {
  std::erase(m_forms, form);
  if (m_mainForm == form) m_mainForm = nullptr;
}

void TApplication::Run() {
  if (!m_mainForm) return;
  try {
    m_mainForm->Show();
  } catch (...) {
    HandleException(std::current_exception());
  }
  if (!m_terminated) m_platform.Windows.RunMessageLoop();
}

void TApplication::Terminate() {
  if (m_terminated) return;
  m_terminated = true;
  m_platform.Windows.Quit();
}

void TApplication::ProcessMessages() { m_platform.Windows.ProcessMessages(); }

void TApplication::HandleException(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const Error& e) {
    ShowException(e);
  } catch (const std::bad_alloc&) {
    ShowException(Error("Out of memory"));
  } catch (const std::exception& e) {
    ShowException(Error(e.what()));
  } catch (...) {
    ShowException(Error("Unknown error"));
  }
}

std::string TApplication::ErrorMessageText(const std::string& text) {
  if (text.empty()) return text;
  // Compare the last character, not the last byte: a Chinese character sorts after ".".
  const std::u16string units = Utf8ToUtf16(text);
  return units.back() > u'.' ? text + "." : text;
}

void TApplication::ShowException(const Error& error) {
  if (error.IsSilent()) return;
  MessageBox(ErrorMessageText(error.Text()), m_title, TMessageIcon::Error);
}

void TApplication::MessageBox(const std::string& text, const std::string& caption, TMessageIcon icon,
                              TCustomForm* owner) {
  if (!owner) owner = m_mainForm;
  TModalScope modal(*this, owner);
  m_platform.MessageBox.Show(owner ? owner->Window() : nullptr, text, caption, icon);
}

TModalScope::TModalScope(TApplication& application, TCustomForm* owner) {
  // The owner is left to the system, which disables it for the dialog and makes it
  // active again afterwards.
  for (TCustomForm* form : application.Forms()) {
    INativeWindow* w = form->Window();
    if (form != owner && w && w->IsVisible() && w->IsEnabled()) {
      w->SetEnabled(false);
      m_disabled.push_back(w);
    }
  }
}

TModalScope::~TModalScope() {
  for (INativeWindow* w : m_disabled) w->SetEnabled(true);
}

}  // namespace vormix
