#include "forms/StdCtrls.h"

#include "base/Utf.h"
#include "forms/Forms.h"

namespace vormix {

namespace {

constexpr TKey kLeftMouseButton = 0x01;

}  // namespace

// ---------------------------------------------------------------------------------------
// TButton

TButton::TButton(std::string name) : TWinControl(std::move(name)) { SetTabStop(true); }

void TButton::SetCaption(const std::string& caption) {
  m_caption = caption;
  SetText(caption);
}

void TButton::Click() {
  if (TCustomForm* form = GetParentForm()) form->SetModalResult(ModalResult);
  if (OnClick) OnClick(*this);
}

bool TButton::IsActiveButton() const {
  TCustomForm* form = GetParentForm();
  TWinControl* active = form ? form->ActiveControl() : nullptr;
  if (active == this || Focused()) return true;
  return Default && (!active || !dynamic_cast<TButton*>(active));
}

bool TButton::WantsDialogKey(TKey key, TShiftState shift) {
  if (shift & (ssShift | ssCtrl | ssAlt)) return false;
  const bool taken = (key == vk::Return && IsActiveButton()) || (key == vk::Escape && Cancel);
  if (!taken || !CanFocus()) return false;
  Click();
  return true;
}

bool TButton::WantsDialogChar(char16_t ch) {
  if (!IsAccelerator(ch, m_caption) || !CanFocus()) return false;
  Click();
  return true;
}

char16_t AcceleratorOf(std::string_view caption) {
  const std::u16string units = Utf8ToUtf16(caption);
  for (std::size_t i = 0; i + 1 < units.size(); ++i) {
    if (units[i] != u'&') continue;
    if (units[i + 1] != u'&') return units[i + 1];
    ++i;  // "&&" is an ampersand of the text
  }
  return 0;
}

bool IsAccelerator(char16_t ch, std::string_view caption) {
  auto upper = [](char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; };
  const char16_t marked = AcceleratorOf(caption);
  return marked != 0 && ch != 0 && upper(marked) == upper(ch);
}

// ---------------------------------------------------------------------------------------
// TCustomEdit

TCustomEdit::TCustomEdit(std::string name) : TWinControl(std::move(name)) {
  SetTabStop(true);
  SetColor(clWindow);
}

std::unique_ptr<INativeWindow> TCustomEdit::CreateNativeWindow(IWindowSystem& system,
                                                               const TNativeWindowParams& params) {
  TNativeEditStyle style = EditStyle();
  style.ReadOnly = ReadOnly;
  return system.CreateEdit(params, style, *this);
}

void TCustomEdit::SelectAll() {
  if (INativeEdit* edit = EditWindow()) edit->SelectAll();
}

void TCustomEdit::DoEnter() {
  // Entering by keyboard selects the whole text; a click places the caret instead.
  TApplication* app = Application();
  if (AutoSelect && !(app && app->Platform().Windows.IsKeyDown(kLeftMouseButton))) SelectAll();
  TWinControl::DoEnter();
}

void TCustomEdit::TextChanged() {
  if (OnChange) OnChange(*this);
}

}  // namespace vormix
