#pragma once
// The push button of the editor library: the system's push button switched to owner
// drawing, whose face, frame, glyph, caption and focus mark the painter of its
// look-and-feel draws. The system window gives it the click, Space and focus behaviour;
// the button adds per-state colours, a glyph beside the caption, a hot look under the
// mouse for painters that want one, and two drop-down kinds.
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "base/Image.h"
#include "forms/Menus.h"
#include "forms/StdCtrls.h"
#include "lookandfeel/cxLookAndFeels.h"
#include "platform/WindowSystem.h"

namespace vormix {

enum TcxButtonKind { cxbkStandard, cxbkDropDown, cxbkDropDownButton };
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TPopupAlignment { paLeft, paRight, paCenter };

// A set of button states, one bit per state.
using TcxButtonAssignedColors = unsigned;
constexpr TcxButtonAssignedColors ButtonStateBit(TcxButtonState state) { return 1u << state; }

// The face colour for each state. clDefault leaves the choice to the painter; writing it
// (or clNone) removes the state from the assigned ones.
class TcxButtonColors {
 public:
  TColor Color(TcxButtonState state) const { return m_colors[state]; }
  void SetColor(TcxButtonState state, TColor color);
  TColor Default() const { return Color(cxbsDefault); }
  TColor Normal() const { return Color(cxbsNormal); }
  TColor Hot() const { return Color(cxbsHot); }
  TColor Pressed() const { return Color(cxbsPressed); }
  TColor Disabled() const { return Color(cxbsDisabled); }
  void SetDefault(TColor color) { SetColor(cxbsDefault, color); }
  void SetNormal(TColor color) { SetColor(cxbsNormal, color); }
  void SetHot(TColor color) { SetColor(cxbsHot, color); }
  void SetPressed(TColor color) { SetColor(cxbsPressed, color); }
  void SetDisabled(TColor color) { SetColor(cxbsDisabled, color); }
  TcxButtonAssignedColors AssignedColors() const { return m_assigned; }
  void Assign(const TcxButtonColors& other);

  std::function<void()> OnChanged;

 private:
  std::array<TColor, 5> m_colors{clDefault, clDefault, clDefault, clDefault, clDefault};
  TcxButtonAssignedColors m_assigned = 0;
};

// The picture beside the caption: a strip of NumGlyphs cells of equal width, for the
// normal, disabled, pressed and a fourth state. The image for a state is cut out (or,
// for a disabled look without a cell of its own, embossed) on first use and kept until
// the glyph changes.
class TcxButtonGlyph {
 public:
  static constexpr TColor kDefaultTransparentColor = 0x008080;

  const TImage& Glyph() const { return m_glyph; }
  // Copies the picture; a strip of square cells sets NumGlyphs to their count (up to 4).
  void SetGlyph(const TImage& glyph);
  int NumGlyphs() const { return m_numGlyphs; }
  void SetNumGlyphs(int count);  // clamped to 1..4
  TColor TransparentColor() const { return m_transparentColor; }
  void SetTransparentColor(TColor color);
  bool IsEmpty() const { return m_glyph.IsEmpty(); }
  TSize CellSize() const;
  // The cell a state draws from: pressed the third (the first below three cells),
  // disabled the second, every other state the first; a cell beyond the strip is the first.
  static int CellFor(TcxButtonState state, int numGlyphs);
  const TImage& ImageFor(TcxButtonState state);
  int BuiltImages() const { return static_cast<int>(m_images.size()); }

  std::function<void()> OnChange;

 private:
  void Changed();
  TImage Cell(int index) const;
  TImage EmbossedCell() const;
  TImage RecolouredDisabledCell() const;

  TImage m_glyph;
  int m_numGlyphs = 1;
  TColor m_transparentColor = kDefaultTransparentColor;
  std::map<int, TImage> m_images;  // by cell, and kEmbossed for the generated disabled look
};

// Where glyph and caption go in a button (all halvings and thirds truncate toward zero).
// The text box is the measured caption, (0, 0) to its size; the answer is the glyph's
// top-left corner and the text box moved into place.
struct TcxButtonContentPlace {
  TPoint Glyph;
  TRect Text;
};
TcxButtonContentPlace LayoutGlyphAndCaption(TSize client, TSize glyph, TSize text, TButtonLayout layout, int margin,
                                           int spacing);

class TcxCustomButton;
using TcxButtonGetDrawParamsEvent =
    std::function<void(TcxCustomButton& sender, TcxButtonState state, TColor& color, TFontSpec& font)>;
// Before a drop-down menu opens: the owner may put another menu in its place, or handle
// the request itself.
using TcxButtonDropDownMenuPopupEvent =
    std::function<void(TcxCustomButton& sender, TPopupMenu*& menu, bool& handled)>;

class TcxCustomButton : public TButton {
 public:
  explicit TcxCustomButton(std::string name = {});
  ~TcxCustomButton() override;

  TcxButtonKind Kind() const { return m_kind; }
  void SetKind(TcxButtonKind kind);
  TcxLookAndFeel& LookAndFeel() { return *m_lookAndFeel; }
  void SetLookAndFeel(const TcxLookAndFeel& lookAndFeel) { m_lookAndFeel->Assign(lookAndFeel); }
  TcxButtonColors& Colors() { return m_colors; }
  void SetColors(const TcxButtonColors& colors) { m_colors.Assign(colors); }
  const TImage& Glyph() const { return m_glyph.Glyph(); }
  void SetGlyph(const TImage& glyph) { m_glyph.SetGlyph(glyph); }
  int NumGlyphs() const { return m_glyph.NumGlyphs(); }
  void SetNumGlyphs(int count) { m_glyph.SetNumGlyphs(count); }
  TcxButtonGlyph& GlyphImages() { return m_glyph; }
  TButtonLayout Layout() const { return m_layout; }
  void SetLayout(TButtonLayout layout);
  int Margin() const { return m_margin; }
  void SetMargin(int margin);  // below -1 is ignored
  int Spacing() const { return m_spacing; }
  void SetSpacing(int spacing);
  TPopupAlignment PopupAlignment() const { return m_popupAlignment; }
  void SetPopupAlignment(TPopupAlignment alignment) { m_popupAlignment = alignment; }
  // The menu of the drop-down kinds.
  TPopupMenu* DropDownMenu() const { return m_dropDownMenu; }
  void SetDropDownMenu(TPopupMenu* menu);
  // The context menu: a popup menu or any component offering the library's popup-menu
  // interface; anything else is stored as none.
  TComponent* PopupMenu() const { return m_popupMenuComponent; }
  void SetPopupMenu(TComponent* menu);
  // The part of a cxbkDropDownButton that opens its menu.
  TRect ArrowRect() const { return {Width() - kArrowWidth, 0, Width(), Height()}; }

  TcxButtonGetDrawParamsEvent OnGetDrawParams;
  TcxButtonDropDownMenuPopupEvent OnDropDownMenuPopup;

  // The painter this button draws with now, asked anew at every paint.
  const TcxCustomLookAndFeelPainter& ButtonPainter() const;
  // The painter wants a hot look and the button is enabled.
  bool HotTrackingOn() const;
  // The state the button draws in now (the first rule that matches).
  TcxButtonState PaintState() const;
  bool IsHot() const { return m_isHot; }
  bool IsDefaultLook() const { return m_isDefaultLook; }
  bool IsDownFromSystem() const { return m_downFromSystem; }
  bool IsMenuShowing() const { return m_menuShowing; }

  // Draws the whole button, as the draw request does.
  void Paint(ICanvas& canvas) override;
  void Click() override;

 protected:
  std::unique_ptr<INativeWindow> CreateNativeWindow(IWindowSystem& system,
                                                    const TNativeWindowParams& params) override;
  void NativeWindowCreated() override;
  void SetButtonStyle(bool isDefault) override;
  bool MouseDown(TMouseButton button, TPoint at, TShiftState shift) override;
  void Clicked() override;
  void PaintWindow(ICanvas& canvas) override { Paint(canvas); }
  void EnabledChanged() override;
  void KeyDown(TKey& key, TShiftState shift) override;

  // INativeWindowHandler
  void NativeDrawItem(ICanvas& canvas, bool selected, bool focused) override;
  bool NativeEraseBackground() override;
  void NativeMouseEnter() override;
  void NativeMouseMove(TPoint at, TShiftState shift) override;
  void NativeMouseLeave() override;
  void NativeCaptureLost() override;
  bool NativeContextMenu(TPoint screen, bool keyboard) override;

 private:
  static constexpr int kArrowWidth = 15;
  static constexpr int kCursorWatchInterval = 10;

  // Every change of the look-and-feel's values in force: a new window, owner-drawn again.
  void RecreateWindow();
  void RepaintNow();
  void MouseEntered();
  void MouseLeft();
  void StartCursorWatch();
  void StopCursorWatch();
  void WatchCursor();
  bool IsMouseCapturedAnywhere() const;
  void PaintContent(ICanvas& canvas, const TRect& rect, TcxButtonState state, TPoint offset);
  void PaintCaption(ICanvas& canvas, TRect box, TcxButtonState state, TTextFlags flags);
  // The drop-down menu opens from the message loop, once the event that asked for it is over.
  void PostDropDownMenu();
  void DropDownMenuNow();
  void RecomputeHot();

  TcxButtonGlyph m_glyph;
  TcxButtonColors m_colors;
  std::unique_ptr<TcxLookAndFeel> m_lookAndFeel;
  TcxButtonKind m_kind = cxbkStandard;
  TButtonLayout m_layout = blGlyphLeft;
  int m_margin = -1;
  int m_spacing = 4;
  TPopupAlignment m_popupAlignment = paLeft;

  bool m_downFromSystem = false;
  bool m_focusFromSystem = false;
  bool m_isDefaultLook = false;
  bool m_isHot = false;
  bool m_menuShowing = false;
  bool m_arrowDown = false;
  bool m_skipClick = false;
  bool m_clicksDisabled = false;

  TPopupMenu* m_dropDownMenu = nullptr;
  TComponent* m_popupMenuComponent = nullptr;
  IcxPopupMenu* m_popupMenu = nullptr;

  std::unique_ptr<ITimer> m_cursorWatch;
  TRect m_watchedRect;  // screen coordinates
  std::unique_ptr<ITimer> m_dropDownPost;
};

class TcxButton : public TcxCustomButton {
 public:
  using TcxCustomButton::TcxCustomButton;
};

}  // namespace vormix
