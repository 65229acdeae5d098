#pragma once
// The editors' container: every editor draws its own frame, background and edit buttons.
// With each layout the container works out, from plain style values the editor hands
// over, how far the content lies inside the bounds, the values in force for drawing and
// the window region; the editor then places its buttons into the record list. Painting
// reads only that layout. What a button shows inside its frame (arrows, a glyph) is the
// editor's business; the frame code knows nothing of the kinds of buttons.
#include <string>
#include <vector>

#include "forms/Controls.h"
#include "lookandfeel/cxGraphics.h"
#include "lookandfeel/dxThemeManager.h"

namespace vormix {

// Distances from a control's bounds to an inner rectangle, side by side.
struct TcxMargins {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const TcxMargins&) const = default;
};

enum class TcxContainerBorderStyle { cbsNone, cbsSingle, cbsThick, cbsFlat, cbs3D, cbsUltraFlat, cbsOffice11 };
enum class TcxEditButtonStyle { btsDefault, bts3D, btsFlat, btsSimple, btsHotFlat, btsUltraFlat, btsOffice11 };
enum class TcxEditButtonTransparency { ebtNone, ebtInactive, ebtAlways, ebtHideInactive, ebtHideUnselected };
enum class TcxEditButtonState { ebsDisabled, ebsNormal, ebsPressed, ebsHot };

// The width of a frame line, in pixels, by border style.
int BorderWidth(TcxContainerBorderStyle style);
// The button style that goes with a border style when none is chosen.
TcxEditButtonStyle DefaultButtonStyle(TcxContainerBorderStyle style);
// What the frame of one edit button adds to its content: horizontally (left + right) and
// vertically (top + bottom). In the native look the theme's push-button margins.
TSize EditButtonFrameExtent(TcxEditButtonStyle style, bool native);

// The colours of the Office 2003 look, for the styles that borrow them.
inline constexpr TColor kOffice11BorderColor = RGBColor(0x00, 0x2D, 0x96);
inline constexpr TColor kOffice11ButtonFaceColor = RGBColor(0xD5, 0xE4, 0xF9);

// The style values that govern the frame, resolved by the editor.
struct TcxContainerStyleValues {
  TcxContainerBorderStyle BorderStyle = TcxContainerBorderStyle::cbs3D;      // of the style in force
  TcxContainerBorderStyle MainBorderStyle = TcxContainerBorderStyle::cbs3D;  // of the main style
  TColor BorderColor = clWindowFrame;                                        // of the style in force
  TColor Color = clWindow;                                                   // of the style in force
  TcxEditButtonStyle ButtonStyle = TcxEditButtonStyle::btsDefault;           // of the style in force
  TcxBorders Edges = cxBordersAll;
  bool HotTrack = true;
  bool Shadow = false;
  bool TransparentBorder = true;
  TcxEditButtonTransparency ButtonTransparency = TcxEditButtonTransparency::ebtNone;
  bool NativeStyle = false;  // the look-and-feel's NativeStyle in force
};

// One visible edit button, in button index order.
struct TcxEditButtonViewInfo {
  int Index = 0;
  TRect Bounds;
  TRect VisibleBounds;  // the part of the bounds inside the rectangle left for buttons
  TcxEditButtonState State = TcxEditButtonState::ebsNormal;
  TcxEditButtonStyle Style = TcxEditButtonStyle::bts3D;
  bool FaceTransparent = false;
  TColor BackdropColor = clWindow;  // the editor's background, stored just before drawing
  ThemeClassId ThemeClass = tcButton;
  int ThemePart = 0;  // non-zero: the theme draws the whole button
  int ThemeState = 0;
  bool PartiallyTransparent = false;
  // Hot-flat frames: which sides a button leaves to the neighbour it touches.
  int FrameKind = 1;

  bool operator==(const TcxEditButtonViewInfo&) const = default;
};

// The frame layout and the values in force for drawing, recomputed with every layout.
struct TcxContainerViewInfo {
  TRect Bounds;
  TcxMargins FrameInset;
  TRect InnerRect;
  TcxMargins ContentMargins;
  TRect ClientRect;  // what the content rectangle leaves once the buttons are placed
  bool Native = false;
  TcxContainerBorderStyle FrameStyle = TcxContainerBorderStyle::cbs3D;
  TColor FrameColor = clWindowFrame;
  TcxBorders Edges = cxBordersAll;
  bool HasShadow = false;
  TColor BackgroundColor = clWindow;
  int NativeEditState = 1;
  bool Transparent = false;
  TcxEditButtonStyle ButtonStyle = TcxEditButtonStyle::bts3D;
  std::vector<TcxEditButtonViewInfo> Buttons;

  bool operator==(const TcxContainerViewInfo&) const = default;
};

// Arrows of edit buttons: a stack of one-pixel rows or columns, solid fills only.
enum class TcxEditArrowDirection { eadUp, eadDown, eadLeft, eadRight };
void DrawEditArrow(ICanvas& canvas, const TRect& rect, int size, TcxEditArrowDirection direction, int count,
                   TColor color, bool pressed);
// The length (along its direction) and breadth of the largest arrow that fits cx x cy.
TSize FitArrowSize(int cx, int cy, TcxEditArrowDirection direction);

class TcxControl : public TWinControl {
 public:
  explicit TcxControl(std::string name = {}) : TWinControl(std::move(name)) {}
};

class TcxContainer : public TcxControl {
 public:
  explicit TcxContainer(std::string name = {});
  ~TcxContainer() override;

  const TcxContainerViewInfo& ViewInfo() const { return m_viewInfo; }
  TcxMargins FrameInset() const { return m_viewInfo.FrameInset; }
  TRect InnerRect() const { return m_viewInfo.InnerRect; }
  TcxMargins ContentMargins() const { return m_viewInfo.ContentMargins; }
  TRect ContentRect() const;

  // The pointer is over the control (its frame or a window inside it).
  bool IsHot() const { return m_isHot; }

  // Works out the frame layout, the buttons and the values in force, then the region.
  void CalculateFrame();
  // Sets the window region the frame needs; only when it differs from the present one.
  void UpdateBorderRegion();
  // The region the frame covers, in client coordinates; none: the whole window.
  std::optional<TRegion> BorderRegion() const;

  // Background, frame and buttons, then the editor's own content.
  void PaintEditor(ICanvas& canvas);

 protected:
  // What the editor's styles say; the plain container has a classic 3D frame.
  virtual TcxContainerStyleValues FrameStyleValues() const { return {}; }
  virtual bool ContainerFocused() const { return Focused(); }
  virtual bool IsReadOnly() const { return false; }
  // Paints no background of its own (the display editors over their parent).
  virtual bool IsTransparent() const { return false; }
  // A text editor whose text can be edited rings its text with the background colour.
  virtual bool HasEditableText() const { return false; }
  // Places the visible buttons into the records, taking their room from the content
  // rectangle, and sets their states. Only called while buttons may show.
  virtual void CalculateButtons(TRect& /*contentRect*/, TcxContainerViewInfo& /*viewInfo*/) {}
  // Draws one button; the default draws the classic frame by button style, then the
  // content, or the whole button through the theme when it has a theme part.
  virtual void PaintEditButton(ICanvas& canvas, int index);
  // Fills a button's content rectangle: what the button shows.
  virtual void PaintEditButtonContent(ICanvas& canvas, const TcxEditButtonViewInfo& button, const TRect& rect,
                                      TColor faceColor, TColor arrowColor);
  // The editor's own content over background and frame.
  virtual void PaintContent(ICanvas& /*canvas*/) {}

  // Recomputes everything laid out inside the control; the text editors also place
  // their native control there.
  virtual void CalculateLayout() { CalculateFrame(); }
  // A change that may alter the layout: recompute it and repaint when it changed.
  void LayoutChanged();
  // Brings the hot state up to date with where the pointer is; the layout follows.
  void UpdateHotState();
  // The pointer moved over the frame (in its client coordinates) or inside the control.
  virtual void ContainerMouseMove(TPoint /*at*/, TShiftState /*shift*/) { LayoutChanged(); }

  void PaintWindow(ICanvas& canvas) override;
  void NativeWindowCreated() override { CalculateLayout(); }
  void BoundsChanged() override;
  void EnabledChanged() override;
  void NativeMouseEnter() override;
  void NativeMouseLeave() override;
  void NativeMouseMove(TPoint at, TShiftState shift) override;

 private:
  void CalculateFrameLayout(const TcxContainerStyleValues& style);
  void FillButtonDrawingFields(const TcxContainerStyleValues& style);
  void PaintClassicFrame(ICanvas& canvas);
  void PaintNativeFrame(ICanvas& canvas);
  void PaintButtonFrame(ICanvas& canvas, const TcxEditButtonViewInfo& button);
  bool IsPointerInside() const;

  TcxContainerViewInfo m_viewInfo;
  bool m_isHot = false;
  TdxThemeChangedNotificator m_themeNotificator;
};

}  // namespace vormix
