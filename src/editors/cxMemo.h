#pragma once
// The multi-line text area: a text editor on the native multi-line edit control, with
// the line list through which its text is counted and appended, and scroll bars of its
// own look laid over the places of the native control's, which never show.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "editors/cxTextEdit.h"
#include "forms/StdCtrls.h"
#include "lookandfeel/cxScrollBar.h"

namespace vormix {

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TcxCustomMemoProperties : public TcxCustomTextEditProperties {
 public:
  explicit TcxCustomMemoProperties(TcxCustomEdit* owner);
  void Assign(const TcxCustomEditProperties& source) override;

  TScrollStyle ScrollBars() const { return m_scrollBars; }
  void SetScrollBars(TScrollStyle value) { Set(m_scrollBars, value); }
  bool WordWrap() const { return m_wordWrap; }
  void SetWordWrap(bool value) { Set(m_wordWrap, value); }
  bool WantReturns() const { return m_wantReturns; }
  void SetWantReturns(bool value) { Set(m_wantReturns, value); }
  bool WantTabs() const { return m_wantTabs; }
  void SetWantTabs(bool value) { Set(m_wantTabs, value); }

  bool HasHorizontalScrollBar() const {
    return m_scrollBars == TScrollStyle::ssHorizontal || m_scrollBars == TScrollStyle::ssBoth;
  }
  bool HasVerticalScrollBar() const {
    return m_scrollBars == TScrollStyle::ssVertical || m_scrollBars == TScrollStyle::ssBoth;
  }
  // A horizontal scroll bar means the text scrolls sideways instead of wrapping.
  bool WrapsLines() const { return m_wordWrap && !HasHorizontalScrollBar(); }

 private:
  TScrollStyle m_scrollBars = TScrollStyle::ssNone;
  bool m_wordWrap = true;
  bool m_wantReturns = true;
  bool m_wantTabs = false;
};

class TcxMemoProperties : public TcxCustomMemoProperties {
 public:
  using TcxCustomMemoProperties::TcxCustomMemoProperties;
};

class TcxCustomMemo;

// The text area's text seen as lines: a view onto the native control, keeping no lines
// of its own. During an update it holds the appended text and hands it to the native
// control in one piece at the end, which gives exactly the text that appending line by
// line would.
class TcxMemoLines {
 public:
  explicit TcxMemoLines(TcxCustomMemo& memo) : m_memo(memo) {}
  // The rows the native control shows, less an empty last one (while an update holds
  // the text: its lines, as the control would show them without wrapping).
  std::size_t Count() const;
  // Appends a line (several, when it holds line breaks); answers where it went.
  int Add(std::string_view line);
  std::string Text() const;
  void BeginUpdate();
  void EndUpdate();
  bool Updating() const { return m_updateCount > 0; }
  // Writes the whole text to a new file in the system's ANSI code page, as it is: no
  // byte-order mark, no terminating NUL, line breaks as the text holds them.
  void SaveToFile(const std::string& path) const;

 private:
  friend class TcxCustomMemo;
  TcxCustomMemo& m_memo;
  int m_updateCount = 0;
  std::string m_held;
  std::size_t m_heldUnits = 0;  // UTF-16 length of m_held
  std::size_t m_heldRows = 1;   // one more than the line breaks in m_held
};

class TcxCustomMemo : public TcxCustomTextEdit {
 public:
  ~TcxCustomMemo() override;

  TcxCustomMemoProperties& Properties() const {
    return static_cast<TcxCustomMemoProperties&>(TcxCustomEdit::Properties());
  }
  TcxMemoLines& Lines() { return m_lines; }
  const TcxMemoLines& Lines() const { return m_lines; }

  std::string Text() const override;
  // How much text the area may hold, in UTF-16 code units.
  std::size_t Capacity = kMemoCapacity;

  // The area's own scroll bars; each shows while the settings ask for it.
  TcxControlScrollBar& VertScrollBar() const { return *m_vertScrollBar; }
  TcxControlScrollBar& HorzScrollBar() const { return *m_horzScrollBar; }
  // Where the square between two scroll bars lies (empty without both), client coordinates.
  TRect ScrollBarCorner() const { return m_corner; }

 protected:
  TcxCustomMemo(std::string name, std::unique_ptr<TcxCustomMemoProperties> properties);
  friend class TcxMemoLines;

  bool IsMultiLine() const override { return true; }
  bool WantsTabCharacter() const override { return Properties().WantTabs(); }
  TNativeEditStyle InnerEditStyle() const override;
  TDialogCodes DialogCodes(TShiftState shift) const override;
  void HandleKeyDown(TKey& key, TShiftState shift) override;
  void HandleKeyPress(char16_t& key) override;
  void StoreEditValue(const Variant& value) override;
  void PutDisplayText(const std::string& text) override;
  void ApplySettings() override;
  void NativeWindowCreated() override;
  void InnerEditPlaced() override { PlaceScrollBars(); }
  void InnerScrolled() override;
  void PaintContent(ICanvas& canvas) override;

  [[noreturn]] static void CapacityExceeded();

 private:
  // Lays the scroll bars over the places of the native control's, which the control's
  // region leaves out, then brings them in step.
  void PlaceScrollBars();
  // Range, page and position of each scroll bar from the native control.
  void SyncScrollBars();
  void SyncScrollBar(TcxControlScrollBar& bar, bool vertical);
  void ScrollBarScrolled(bool vertical, TScrollCode code, int& position);
  // The text the native control now holds becomes the edit value, quietly.
  void ValueFollowsText();

  TcxMemoLines m_lines{*this};
  std::unique_ptr<TcxControlScrollBar> m_vertScrollBar, m_horzScrollBar;
  TRect m_corner;
  TScrollStyle m_createdScrollBars = TScrollStyle::ssNone;  // what the native control was made with
  bool m_createdWrap = true;
  bool m_scrollingByBar = false;
  bool m_scrollSyncHeld = false;
};

// The text area of the main window.
class TcxMemo : public TcxCustomMemo {
 public:
  explicit TcxMemo(std::string name = {});
  TcxMemoProperties& Properties() const { return static_cast<TcxMemoProperties&>(TcxCustomMemo::Properties()); }
};

}  // namespace vormix
