#include "editors/cxMemo.h"

#include "base/Error.h"
#include "base/Utf.h"
#include "forms/Forms.h"
#include "forms/TextLines.h"

namespace vormix {

namespace {

std::size_t CountLineBreaks(std::string_view text) {
  std::size_t n = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string_view::npos; at = text.find("\r\n", at + 2)) ++n;
  return n;
}

TNativeScrollCode NativeScrollCode(TScrollCode code) {
  switch (code) {
    case scLineUp: return TNativeScrollCode::LineUp;
    case scLineDown: return TNativeScrollCode::LineDown;
    case scPageUp: return TNativeScrollCode::PageUp;
    case scPageDown: return TNativeScrollCode::PageDown;
    case scPosition: return TNativeScrollCode::Position;
    case scTrack: return TNativeScrollCode::Track;
    case scTop: return TNativeScrollCode::Top;
    case scBottom: return TNativeScrollCode::Bottom;
    case scEndScroll: break;
  }
  return TNativeScrollCode::EndScroll;
}

// The system's description of an error, without what it ends with: spaces, line breaks
// and periods.
std::string TrimErrorDescription(std::string text) {
  while (!text.empty() && (static_cast<unsigned char>(text.back()) <= 32 || text.back() == '.')) text.pop_back();
  return text;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Settings

TcxCustomMemoProperties::TcxCustomMemoProperties(TcxCustomEdit* owner) : TcxCustomTextEditProperties(owner) {
  SetAutoSelect(false);  // entering a text area selects nothing
}

void TcxCustomMemoProperties::Assign(const TcxCustomEditProperties& source) {
  BeginUpdate();
  TcxCustomTextEditProperties::Assign(source);
  if (const auto* memo = dynamic_cast<const TcxCustomMemoProperties*>(&source)) {
    m_scrollBars = memo->m_scrollBars;
    m_wordWrap = memo->m_wordWrap;
    m_wantReturns = memo->m_wantReturns;
    m_wantTabs = memo->m_wantTabs;
  }
  Changed();
  EndUpdate();
}

// ---------------------------------------------------------------------------------------
// TcxCustomMemo

TcxCustomMemo::TcxCustomMemo(std::string name, std::unique_ptr<TcxCustomMemoProperties> properties)
    : TcxCustomTextEdit(std::move(name), std::move(properties)) {
  m_vertScrollBar = std::make_unique<TcxControlScrollBar>(*this, Style().LookAndFeel);
  m_horzScrollBar = std::make_unique<TcxControlScrollBar>(*this, Style().LookAndFeel);
  m_vertScrollBar->SetKind(TScrollBarKind::sbVertical);
  m_vertScrollBar->OnScroll = [this](TObject&, TScrollCode code, int& pos) { ScrollBarScrolled(true, code, pos); };
  m_horzScrollBar->OnScroll = [this](TObject&, TScrollCode code, int& pos) { ScrollBarScrolled(false, code, pos); };
  m_vertScrollBar->SetParent(this);
  m_horzScrollBar->SetParent(this);
}

TcxCustomMemo::~TcxCustomMemo() {
  // The scroll bars go first, while the area they belong to is whole.
  m_vertScrollBar.reset();
  m_horzScrollBar.reset();
}

std::string TcxCustomMemo::Text() const {
  return m_lines.Updating() ? m_lines.m_held : TcxCustomTextEdit::Text();
}

void TcxCustomMemo::CapacityExceeded() { throw Error("Text exceeds memo capacity"); }

TNativeEditStyle TcxCustomMemo::InnerEditStyle() const {
  TNativeEditStyle style = TcxCustomTextEdit::InnerEditStyle();
  const TcxCustomMemoProperties& props = Properties();
  style.MultiLine = true;
  style.HorizontalScrollBar = props.HasHorizontalScrollBar();
  style.VerticalScrollBar = props.HasVerticalScrollBar();
  style.WordWrap = props.WrapsLines();
  return style;
}

TDialogCodes TcxCustomMemo::DialogCodes(TShiftState shift) const {
  TDialogCodes codes = TcxCustomTextEdit::DialogCodes(shift);
  if (Properties().WantReturns()) codes |= dcWantReturn;
  return codes;
}

void TcxCustomMemo::HandleKeyDown(TKey& key, TShiftState shift) {
  if (key == vk::Letter('A') && (shift & (ssShift | ssCtrl | ssAlt)) == ssCtrl && m_lines.Count() > 0) {
    SelectAll();
    key = 0;
    // The key's character (code 1) must not reach the native control either.
    if (TApplication* app = Application(); app && FocusWindow())
      app->Platform().Windows.RemovePendingCharacter(*FocusWindow());
    return;
  }
  if (key == vk::Tab && Properties().WantTabs() && !(shift & (ssCtrl | ssAlt))) return;  // a tab character
  TcxCustomTextEdit::HandleKeyDown(key, shift);
}

void TcxCustomMemo::HandleKeyPress(char16_t& key) {
  if (key == 13 && !Properties().WantReturns()) {
    key = 0;
    return;
  }
  TcxCustomTextEdit::HandleKeyPress(key);
}

// A text too large for the area is refused before anything changes; one that the native
// control refuses leaves the value standing for the text that stayed.
void TcxCustomMemo::StoreEditValue(const Variant& value) {
  Variant stored = value;
  if (value.IsString()) {
    std::string text = NormalizeLineBreaks(VariantToString(value));
    if (Utf16Length(text) > Capacity) CapacityExceeded();
    stored = Variant::FromString(std::move(text));
  }
  try {
    TcxCustomTextEdit::StoreEditValue(stored);
  } catch (...) {
    ValueFollowsText();
    throw;
  }
}

void TcxCustomMemo::PutDisplayText(const std::string& text) {
  std::string normalized = NormalizeLineBreaks(text);
  const std::size_t units = Utf16Length(normalized);
  if (units > Capacity) CapacityExceeded();
  if (m_lines.Updating()) {
    m_lines.m_held = std::move(normalized);
    m_lines.m_heldUnits = units;
    m_lines.m_heldRows = 1 + CountLineBreaks(m_lines.m_held);
    return;
  }
  TcxCustomTextEdit::PutDisplayText(normalized);
  if (INativeEdit* edit = InnerEdit(); edit && edit->TextLength() != units) CapacityExceeded();
}

void TcxCustomMemo::ValueFollowsText() { SetEditValueField(Variant::FromString(Text())); }

// The native control takes its scroll bars and wrapping only when it is made.
void TcxCustomMemo::ApplySettings() {
  const TcxCustomMemoProperties& props = Properties();
  if (InnerEdit() && (props.ScrollBars() != m_createdScrollBars || props.WrapsLines() != m_createdWrap)) {
    m_createdScrollBars = props.ScrollBars();
    m_createdWrap = props.WrapsLines();
    RecreateInnerEdit();
  }
  TcxCustomTextEdit::ApplySettings();
}

void TcxCustomMemo::NativeWindowCreated() {
  m_createdScrollBars = Properties().ScrollBars();
  m_createdWrap = Properties().WrapsLines();
  TcxCustomTextEdit::NativeWindowCreated();
}

void TcxCustomMemo::PlaceScrollBars() {
  INativeEdit* edit = InnerEdit();
  const bool vertical = edit && Properties().HasVerticalScrollBar();
  const bool horizontal = edit && Properties().HasHorizontalScrollBar();
  m_corner = {};
  if (edit) {
    const TRect b = edit->Bounds();
    const TSize client = edit->ClientSize();
    const int right = b.Left + client.Width, bottom = b.Top + client.Height;
    if (vertical) m_vertScrollBar->SetBounds(right, b.Top, b.Right - right, client.Height);
    if (horizontal) m_horzScrollBar->SetBounds(b.Left, bottom, client.Width, b.Bottom - bottom);
    if (vertical && horizontal) m_corner = {right, bottom, b.Right, b.Bottom};
    // The native scroll bars lie outside the client area: the region leaves them out, so
    // what shows in their places is the area's own.
    std::optional<TRegion> region;
    if (vertical || horizontal) region = TRegion(TRect{0, 0, client.Width, client.Height});
    if (edit->Region() != region) edit->SetRegion(region);
  }
  m_vertScrollBar->SetVisible(vertical && m_vertScrollBar->Width() > 0 && m_vertScrollBar->Height() > 0);
  m_horzScrollBar->SetVisible(horizontal && m_horzScrollBar->Width() > 0 && m_horzScrollBar->Height() > 0);
  SyncScrollBars();
}

void TcxCustomMemo::InnerScrolled() {
  // While a scroll bar's own request runs, that bar takes the position it answers; and a
  // batch brings the bars in step once, at its end.
  if (m_scrollingByBar || m_scrollSyncHeld) return;
  SyncScrollBars();
}

void TcxCustomMemo::SyncScrollBars() {
  if (m_vertScrollBar->Visible()) SyncScrollBar(*m_vertScrollBar, true);
  if (m_horzScrollBar->Visible()) SyncScrollBar(*m_horzScrollBar, false);
}

// A range with nothing to scroll shows as a disabled bar, as the native one does.
void TcxCustomMemo::SyncScrollBar(TcxControlScrollBar& bar, bool vertical) {
  INativeEdit* edit = InnerEdit();
  if (!edit || bar.PressedPart() == sbpThumbnail) return;  // a dragged thumb stays where the pointer put it
  const TNativeScrollInfo info = edit->ScrollInfo(vertical);
  const bool scrollable = info.Max > info.Min && info.Max >= info.Page && info.Max - info.Min + 1 > info.Page;
  if (scrollable) {
    bar.SetParams(info.Min, info.Max, info.Page, std::clamp(info.Position, info.Min, info.Max));
    bar.SetEnabled(Enabled());
  } else {
    bar.SetParams(0, 0, 0, 0);
    bar.SetEnabled(false);
  }
  bar.SmallChange = 1;
  bar.LargeChange = std::max(info.Page, 1);
}

void TcxCustomMemo::ScrollBarScrolled(bool vertical, TScrollCode code, int& position) {
  INativeEdit* edit = InnerEdit();
  if (!edit) return;
  {
    TFlagScope scrolling(m_scrollingByBar);
    edit->Scroll(vertical, NativeScrollCode(code), position);
    position = edit->ScrollInfo(vertical).Position;
  }
  if (code == scEndScroll) SyncScrollBars();
}

void TcxCustomMemo::PaintContent(ICanvas& canvas) {
  TcxCustomTextEdit::PaintContent(canvas);
  if (!m_corner.IsEmpty()) canvas.FillRect(m_corner, clBtnFace);
}

TcxMemo::TcxMemo(std::string name) : TcxCustomMemo(std::move(name), std::make_unique<TcxMemoProperties>(this)) {
  SetBounds(Left(), Top(), 185, 89);
}

// ---------------------------------------------------------------------------------------
// TcxMemoLines

std::size_t TcxMemoLines::Count() const {
  if (Updating()) return LineCount(m_held);
  INativeEdit* edit = m_memo.InnerEdit();
  if (!edit) return 0;
  std::size_t rows = edit->RowCount();
  if (rows > 0 && edit->RowStart(rows - 1) >= edit->TextLength()) --rows;  // the empty last row
  return rows;
}

std::string TcxMemoLines::Text() const { return m_memo.Text(); }

int TcxMemoLines::Add(std::string_view line) {
  if (Updating()) {
    const std::size_t before = m_held.size();
    const std::size_t index = m_heldRows - (EndsAtLineStart(m_held) ? 1 : 0);
    AppendLineTo(m_held, line);
    const std::string_view added = std::string_view(m_held).substr(before);
    const std::size_t units = Utf16Length(added);
    if (m_heldUnits + units > m_memo.Capacity) {
      m_held.resize(before);
      TcxCustomMemo::CapacityExceeded();
    }
    m_heldUnits += units;
    m_heldRows += CountLineBreaks(std::string_view(m_held).substr(before > 0 ? before - 1 : 0));
    return static_cast<int>(index);
  }
  INativeEdit* edit = m_memo.InnerEdit();
  if (!edit) {
    // No native control yet: the text waits in the editor for the one to come.
    const std::string current = m_memo.Text();
    m_memo.SetText(current + LineInsertion(EndsAtLineStart(current), line));
    return static_cast<int>(LineCount(current));
  }
  const std::size_t count = Count();
  const bool atLineStart = edit->RowCount() > count;  // the last row is empty
  const std::string inserted = LineInsertion(atLineStart, line);
  const std::size_t length = edit->TextLength();
  if (length + Utf16Length(inserted) > m_memo.Capacity) TcxCustomMemo::CapacityExceeded();
  edit->SetSelection(length, 0);
  edit->ReplaceSelection(inserted);
  edit->ScrollCaretIntoView();
  m_memo.ValueFollowsText();
  return static_cast<int>(count);
}

void TcxMemoLines::SaveToFile(const std::string& path) const {
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

void TcxMemoLines::BeginUpdate() {
  if (m_updateCount++ > 0) return;
  m_held = m_memo.TcxCustomTextEdit::Text();
  m_heldUnits = Utf16Length(m_held);
  m_heldRows = 1 + CountLineBreaks(m_held);
}

void TcxMemoLines::EndUpdate() {
  if (m_updateCount == 0 || --m_updateCount > 0) return;
  std::string text = std::move(m_held);
  const std::size_t units = m_heldUnits;
  m_held = std::string();
  m_heldUnits = 0;
  INativeEdit* edit = m_memo.InnerEdit();
  if (!edit) {
    m_memo.SetText(text);
    return;
  }
  bool refused = false;
  {
    // The scroll bars follow once, when the text is in and the caret at its end.
    TFlagScope holding(m_memo.m_scrollSyncHeld);
    // Texts of different lengths differ: a large text is not fetched to learn that.
    const bool same = edit->TextLength() == units && text == edit->Text();
    refused = !same && !edit->SetTextChecked(text);
    if (!refused) {
      edit->SetSelection(edit->TextLength(), 0);
      edit->ScrollCaretIntoView();
    }
  }
  // The value is the text just put in; fetching it back would cost a copy of the whole batch.
  if (refused) m_memo.ValueFollowsText(); else m_memo.SetEditValueField(Variant::FromString(text));
  m_memo.SyncScrollBars();
  if (refused) TcxCustomMemo::CapacityExceeded();
}

}  // namespace vormix
