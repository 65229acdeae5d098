#include "forms/StdCtrls.h"

#include "base/Error.h"
#include "base/Utf.h"
#include "forms/Forms.h"
#include "forms/TextLines.h"

namespace vormix {

namespace {

constexpr TKey kLeftMouseButton = 0x01;

std::size_t CountLineBreaks(std::string_view text) {
  std::size_t n = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string_view::npos; at = text.find("\r\n", at + 2)) ++n;
  return n;
}

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

// ---------------------------------------------------------------------------------------
// TMemo and its lines

TMemo::TMemo(std::string name) : TCustomEdit(std::move(name)) { AutoSelect = false; }

TNativeEditStyle TMemo::EditStyle() const {
  TNativeEditStyle style;
  style.MultiLine = true;
  style.HorizontalScrollBar = ScrollBars == TScrollStyle::ssHorizontal || ScrollBars == TScrollStyle::ssBoth;
  style.VerticalScrollBar = ScrollBars == TScrollStyle::ssVertical || ScrollBars == TScrollStyle::ssBoth;
  style.WordWrap = WordWrap && !style.HorizontalScrollBar;
  return style;
}

TDialogCodes TMemo::DialogCodes(TShiftState) const {
  return dcWantArrows | dcWantChars | (WantReturns ? dcWantReturn : 0) | (WantTabs ? dcWantTab : 0);
}

void TMemo::KeyDown(TKey& key, TShiftState shift) {
  if (key == vk::Letter('A') && shift == ssCtrl && m_lines.Count() > 0) {
    SelectAll();
    key = 0;
    // The key's character (code 1) must not reach the native control either.
    if (TApplication* app = Application(); app && Window()) app->Platform().Windows.RemovePendingCharacter(*Window());
  }
}

void TMemo::CapacityExceeded() { throw Error("Text exceeds memo capacity"); }

std::string TMemo::Text() const {
  return m_lines.Updating() ? m_lines.m_held : TCustomEdit::Text();
}

void TMemo::SetText(const std::string& text) {
  std::string normalized = NormalizeLineBreaks(text);
  const std::size_t units = Utf16Length(normalized);
  if (units > Capacity) CapacityExceeded();
  if (m_lines.Updating()) {
    m_lines.m_held = std::move(normalized);
    m_lines.m_heldUnits = units;
    m_lines.m_heldRows = 1 + CountLineBreaks(m_lines.m_held);
    return;
  }
  // Texts of different lengths differ: a large text is not fetched to learn that.
  INativeEdit* current = EditWindow();
  if ((!current || current->TextLength() == units) && normalized == Text()) return;
  if (INativeEdit* edit = current) {
    if (!edit->SetTextChecked(normalized)) CapacityExceeded();
  } else {
    TCustomEdit::SetText(normalized);
  }
}

std::size_t TMemoLines::Count() const { return LineCount(Text()); }

std::string TMemoLines::Text() const { return m_memo.Text(); }

int TMemoLines::Add(std::string_view line) {
  if (Updating()) {
    const std::size_t before = m_held.size();
    const std::size_t index = m_heldRows - (EndsAtLineStart(m_held) ? 1 : 0);
    AppendLineTo(m_held, line);
    const std::string_view added = std::string_view(m_held).substr(before);
    const std::size_t units = Utf16Length(added);
    if (m_heldUnits + units > m_memo.Capacity) {
      m_held.resize(before);
      TMemo::CapacityExceeded();
    }
    m_heldUnits += units;
    m_heldRows += CountLineBreaks(std::string_view(m_held).substr(before > 0 ? before - 1 : 0));
    return static_cast<int>(index);
  }
  const std::string current = m_memo.Text();
  const std::string inserted = LineInsertion(EndsAtLineStart(current), line);
  if (Utf16Length(current) + Utf16Length(inserted) > m_memo.Capacity) TMemo::CapacityExceeded();
  const int index = static_cast<int>(LineCount(current));
  if (INativeEdit* edit = m_memo.EditWindow()) {
    edit->SetSelection(edit->TextLength(), 0);
    edit->ReplaceSelection(inserted);
    edit->ScrollCaretIntoView();
  } else {
    m_memo.TCustomEdit::SetText(current + inserted);
  }
  return index;
}

namespace {

// The system's description of an error, without what it ends with: spaces, line breaks
// and periods.
std::string TrimErrorDescription(std::string text) {
  while (!text.empty() && (static_cast<unsigned char>(text.back()) <= 32 || text.back() == '.')) text.pop_back();
  return text;
}

}  // namespace

void TMemoLines::SaveToFile(const std::string& path) const {
  TApplication* app = m_memo.Application();
  if (!app) throw Error("Cannot create file \"" + path + "\"");
  const TPlatform& platform = app->Platform();
  // A character the code page cannot hold would be written as '?': a corrupted command
  // in a batch file is worse than no file, so nothing is written at all.
  const TAnsiConversion ansi = platform.CodePage.ToAnsi(Text());
  if (!ansi.Complete) {
    throw Error("Cannot save to file \"" + path + "\": the character \"" + ansi.FirstMissing +
                "\" cannot be written in code page " + std::to_string(platform.CodePage.CodePageId()));
  }
  TFileCreateResult created = platform.Files.CreateNew(path);
  if (!created.File)
    throw Error("Cannot create file \"" + path + "\". " + TrimErrorDescription(created.ErrorText));
  if (created.File->Write(ansi.Bytes) != ansi.Bytes.size()) throw Error("Stream write error");
}

void TMemoLines::BeginUpdate() {
  if (m_updateCount++ > 0) return;
  m_held = m_memo.TCustomEdit::Text();
  m_heldUnits = Utf16Length(m_held);
  m_heldRows = 1 + CountLineBreaks(m_held);
}

void TMemoLines::EndUpdate() {
  if (m_updateCount == 0 || --m_updateCount > 0) return;
  std::string text = std::move(m_held);
  m_held = std::string();
  m_heldUnits = 0;
  INativeEdit* edit = m_memo.EditWindow();
  if (!edit) {
    m_memo.TCustomEdit::SetText(text);
    return;
  }
  const bool same = edit->TextLength() == Utf16Length(text) && text == edit->Text();
  if (!same && !edit->SetTextChecked(text)) TMemo::CapacityExceeded();
  edit->SetSelection(edit->TextLength(), 0);
  edit->ScrollCaretIntoView();
}

}  // namespace vormix
