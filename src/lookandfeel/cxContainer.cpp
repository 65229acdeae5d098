#include "lookandfeel/cxContainer.h"

#include <algorithm>
#include <array>

#include "lookandfeel/cxLookAndFeelPainters.h"
#include "lookandfeel/dxUxTheme.h"

namespace vormix {

namespace {

using TBorder = TcxContainerBorderStyle;
using TButtonStyle = TcxEditButtonStyle;
using TButtonState = TcxEditButtonState;

constexpr int kEditPart = 1;
constexpr int kEditDisabledState = 4;
constexpr int kShadowWidth = 3;

TcxMargins AllSides(int w) { return {w, w, w, w}; }

TRect Shrunk(const TRect& r, const TcxMargins& m) {
  return {r.Left + m.Left, r.Top + m.Top, r.Right - m.Right, r.Bottom - m.Bottom};
}

// The styles of the classic look that have no frame of their own draw as a single line.
TBorder ClassicFrameStyle(TBorder style) {
  return style == TBorder::cbsUltraFlat || style == TBorder::cbsOffice11 ? TBorder::cbsSingle : style;
}

// The frame rectangle: the inner rectangle grown by the frame's width, pulled back in on
// the sides that have no edge.
TRect FrameRect(const TcxContainerViewInfo& vi) {
  const int w = BorderWidth(vi.FrameStyle);
  TRect f = vi.InnerRect.Inflated(w, w);
  if (!(vi.Edges & bLeft)) f.Left += w;
  if (!(vi.Edges & bTop)) f.Top += w;
  if (!(vi.Edges & bRight)) f.Right -= w;
  if (!(vi.Edges & bBottom)) f.Bottom -= w;
  return f;
}

void VerticalLine(ICanvas& canvas, int x, int top, int bottom, TColor color) {
  canvas.FillRect({x, top, x + 1, bottom}, color);
}

}  // namespace

int BorderWidth(TcxContainerBorderStyle style) {
  switch (style) {
    case TBorder::cbsNone: return 0;
    case TBorder::cbsSingle:
    case TBorder::cbsUltraFlat:
    case TBorder::cbsOffice11: return 1;
    case TBorder::cbsThick:
    case TBorder::cbsFlat:
    case TBorder::cbs3D: return 2;
  }
  return 0;
}

TcxEditButtonStyle DefaultButtonStyle(TcxContainerBorderStyle style) {
  switch (style) {
    case TBorder::cbsNone: return TButtonStyle::btsSimple;
    case TBorder::cbsSingle: return TButtonStyle::btsHotFlat;
    case TBorder::cbsThick: return TButtonStyle::bts3D;
    case TBorder::cbsFlat: return TButtonStyle::btsFlat;
    case TBorder::cbs3D: return TButtonStyle::bts3D;
    case TBorder::cbsUltraFlat: return TButtonStyle::btsUltraFlat;
    case TBorder::cbsOffice11: return TButtonStyle::btsOffice11;
  }
  return TButtonStyle::bts3D;
}

TSize EditButtonFrameExtent(TcxEditButtonStyle style, bool native) {
  if (native) {
    // A failed measurement leaves the classic extent of the default style.
    const TRect probe{0, 0, 100, 100};
    if (auto c = GetThemeBackgroundContentRect(ThemeHandle(tcButton), nullptr, 1, 1, probe))
      return {c->Left + (probe.Right - c->Right), c->Top + (probe.Bottom - c->Bottom)};
  }
  switch (style) {
    case TButtonStyle::bts3D: return {4, 4};
    case TButtonStyle::btsFlat:
    case TButtonStyle::btsSimple: return {3, 2};
    case TButtonStyle::btsHotFlat:
    case TButtonStyle::btsUltraFlat:
    case TButtonStyle::btsOffice11: return {2, 2};
    case TButtonStyle::btsDefault: break;
  }
  return {2, 0};
}

TSize FitArrowSize(int cx, int cy, TcxEditArrowDirection direction) {
  int s = (std::min(cx, cy) - 1) / 2;
  if (s % 2 == 0) ++s;
  const TSize upright{s, s / 2 + 1};  // breadth across, length along an up arrow
  if (direction == TcxEditArrowDirection::eadLeft || direction == TcxEditArrowDirection::eadRight)
    return {upright.Height, upright.Width};
  return upright;
}

void DrawEditArrow(ICanvas& canvas, const TRect& r, int a, TcxEditArrowDirection direction, int count,
                   TColor color, bool pressed) {
  if (a <= 0 || count <= 0) return;
  const bool vertical = direction == TcxEditArrowDirection::eadUp || direction == TcxEditArrowDirection::eadDown;
  const int blockWidth = vertical ? 2 * a - 1 : count * a;
  const int blockHeight = vertical ? count * a : 2 * a - 1;
  int x = r.Left + (r.Width() - blockWidth) / 2;
  int y = r.Top + (r.Height() - blockHeight) / 2;
  if (pressed) {
    ++x;
    ++y;
  }
  for (int n = 0; n < count; ++n) {
    for (int i = 0; i < a; ++i) {
      switch (direction) {
        case TcxEditArrowDirection::eadUp: canvas.FillRect({x + a - 1 - i, y + i, x + a + i, y + i + 1}, color); break;
        case TcxEditArrowDirection::eadDown: canvas.FillRect({x + i, y + i, x + 2 * a - 1 - i, y + i + 1}, color); break;
        case TcxEditArrowDirection::eadLeft: canvas.FillRect({x + i, y + a - 1 - i, x + i + 1, y + a + i}, color); break;
        case TcxEditArrowDirection::eadRight: canvas.FillRect({x + i, y + i, x + i + 1, y + 2 * a - 1 - i}, color); break;
      }
    }
    if (vertical) y += a;
    else x += a;
  }
}

// ---------------------------------------------------------------------------------------
// Layout

TcxContainer::TcxContainer(std::string name) : TcxControl(std::move(name)) {
  SetTabStop(true);
  // The look follows a theme switch at once, not only at the next change of the control.
  m_themeNotificator.OnThemeChanged = [this] { LayoutChanged(); };
}

TcxContainer::~TcxContainer() = default;

TRect TcxContainer::ContentRect() const { return Shrunk(m_viewInfo.Bounds, m_viewInfo.ContentMargins); }

void TcxContainer::CalculateFrame() {
  const TcxContainerStyleValues style = FrameStyleValues();
  CalculateFrameLayout(style);
  TRect content = ContentRect();
  m_viewInfo.Buttons.clear();
  const bool focused = ContainerFocused();
  const bool hidden = (style.ButtonTransparency == TcxEditButtonTransparency::ebtHideInactive && !focused) ||
                      (style.ButtonTransparency == TcxEditButtonTransparency::ebtHideUnselected && !focused &&
                       !m_isHot);
  if (!hidden) CalculateButtons(content, m_viewInfo);
  if (content.Right < content.Left) content.Right = content.Left;
  m_viewInfo.ClientRect = content;
  FillButtonDrawingFields(style);
  UpdateBorderRegion();
}

void TcxContainer::CalculateFrameLayout(const TcxContainerStyleValues& style) {
  TcxContainerViewInfo& vi = m_viewInfo;
  const bool enabled = Enabled(), focused = ContainerFocused();
  vi.Bounds = ClientRect();
  vi.Native = style.NativeStyle && ThemeHandle(tcEdit) != 0;
  vi.FrameStyle = vi.Native ? style.MainBorderStyle : ClassicFrameStyle(style.BorderStyle);
  vi.Edges = style.Edges;
  vi.HasShadow = style.Shadow && !vi.Native;
  vi.Transparent = IsTransparent();

  if (style.TransparentBorder) {
    vi.FrameInset = AllSides(2);
  } else if (vi.Native) {
    vi.FrameInset = AllSides(style.MainBorderStyle == TBorder::cbsNone ? 0 : 2);
  } else {
    const int w = BorderWidth(vi.FrameStyle);
    vi.FrameInset = {(vi.Edges & bLeft) ? w : 0, (vi.Edges & bTop) ? w : 0, (vi.Edges & bRight) ? w : 0,
                     (vi.Edges & bBottom) ? w : 0};
  }
  if (vi.HasShadow) {
    vi.FrameInset.Right += kShadowWidth;
    vi.FrameInset.Bottom += kShadowWidth;
  }
  vi.InnerRect = Shrunk(vi.Bounds, vi.FrameInset);

  vi.ContentMargins = vi.FrameInset;
  if (vi.Native) {
    if (style.MainBorderStyle != TBorder::cbsNone) {
      const TRect probe{0, 0, 100, 100};
      if (auto c = GetThemeBackgroundContentRect(ThemeHandle(tcEdit), nullptr, kEditPart, 1, probe))
        vi.ContentMargins = {c->Left, c->Top, probe.Right - c->Right, probe.Bottom - c->Bottom};
    } else {
      vi.ContentMargins = AllSides(style.TransparentBorder ? 2 : 0);
    }
  }

  // The ultra-flat and Office frames light up while the editor is in use.
  if (style.BorderStyle == TBorder::cbsUltraFlat || style.BorderStyle == TBorder::cbsOffice11) {
    const bool lit = focused || (m_isHot && style.HotTrack);
    const TColor highlight = style.BorderStyle == TBorder::cbsOffice11 ? kOffice11BorderColor : clHighlight;
    vi.FrameColor = lit ? highlight : clBtnShadow;
  } else {
    vi.FrameColor = style.BorderColor;
  }

  vi.BackgroundColor = style.Color;
  if (vi.Native && !enabled) {
    if (auto fill = GetThemeColor(ThemeHandle(tcEdit), kEditPart, kEditDisabledState, TMT_FILLCOLOR))
      vi.BackgroundColor = *fill;
  }

  if (!enabled) vi.NativeEditState = 4;
  else if (IsReadOnly()) vi.NativeEditState = 6;
  else if (focused) vi.NativeEditState = 5;
  else if (m_isHot) vi.NativeEditState = 2;
  else vi.NativeEditState = 1;

  vi.ButtonStyle = style.ButtonStyle == TButtonStyle::btsDefault ? DefaultButtonStyle(style.BorderStyle)
                                                                 : style.ButtonStyle;
}

void TcxContainer::FillButtonDrawingFields(const TcxContainerStyleValues& style) {
  const bool active = ContainerFocused() || m_isHot;
  for (TcxEditButtonViewInfo& button : m_viewInfo.Buttons) {
    button.Style = m_viewInfo.ButtonStyle;
    button.FaceTransparent = style.ButtonTransparency == TcxEditButtonTransparency::ebtAlways ||
                             (style.ButtonTransparency == TcxEditButtonTransparency::ebtInactive && !active);
    button.PartiallyTransparent =
        button.ThemePart != 0 &&
        IsThemeBackgroundPartiallyTransparent(ThemeHandle(button.ThemeClass), button.ThemePart, button.ThemeState);
  }
}

std::optional<TRegion> TcxContainer::BorderRegion() const {
  const TcxContainerViewInfo& vi = m_viewInfo;
  if (vi.Native && vi.FrameStyle != TBorder::cbsNone) return std::nullopt;
  const TRect frame = FrameRect(vi);
  TRegion region(frame);
  if (vi.HasShadow) region = region.Union(TRegion(frame.Offset(kShadowWidth, kShadowWidth)));
  return region;
}

void TcxContainer::UpdateBorderRegion() {
  INativeWindow* window = Window();
  if (!window) return;
  const std::optional<TRegion> region = BorderRegion();
  if (window->Region() != region) window->SetRegion(region);
}

void TcxContainer::LayoutChanged() {
  const TcxContainerViewInfo before = m_viewInfo;
  CalculateLayout();
  if (!(m_viewInfo == before)) Invalidate();
}

// ---------------------------------------------------------------------------------------
// Hot tracking

bool TcxContainer::IsPointerInside() const {
  IWindowSystem* system = WindowSystem();
  INativeWindow* own = Window();
  if (!system || !own) return false;
  INativeWindow* under = system->WindowFromPoint(system->CursorPos());
  return under && (under == own || under == FocusWindow());
}

void TcxContainer::UpdateHotState() {
  m_isHot = IsShowing() && IsPointerInside();
  LayoutChanged();
}

void TcxContainer::NativeMouseEnter() {
  Guarded([&] { UpdateHotState(); });
}

void TcxContainer::NativeMouseLeave() {
  Guarded([&] { UpdateHotState(); });
}

void TcxContainer::NativeMouseMove(TPoint at, TShiftState shift) {
  Guarded([&] {
    m_isHot = IsShowing() && IsPointerInside();
    ContainerMouseMove(at, shift);
  });
}

void TcxContainer::BoundsChanged() {
  TcxControl::BoundsChanged();
  LayoutChanged();
}

void TcxContainer::EnabledChanged() {
  TcxControl::EnabledChanged();
  LayoutChanged();
}

// ---------------------------------------------------------------------------------------
// Painting

// The picture is made off screen and copied in one transfer, so nothing flickers. A copy
// painted elsewhere keeps to the window's region, as the window itself does.
void TcxContainer::PaintWindow(ICanvas& canvas) {
  const TRect bounds = ClientRect();
  if (bounds.IsEmpty() || !canvas.RectVisible(bounds)) return;
  std::unique_ptr<IBitmapCanvas> picture = canvas.CreateBitmap(bounds.Width(), bounds.Height());
  picture->SetFont(Font());
  PaintEditor(*picture);
  const int level = canvas.Save();
  if (IsPaintingCopy()) {
    if (std::optional<TRegion> region = BorderRegion()) {
      const TPoint origin = canvas.WindowOrigin();
      canvas.SelectClipRegion(region->Offset(-origin.X, -origin.Y), TClipCombine::ccAnd);
    }
  }
  canvas.BitBlt(bounds, *picture, {0, 0}, TRasterOp::roSrcCopy);
  canvas.Restore(level);
}

void TcxContainer::PaintEditor(ICanvas& canvas) {
  TcxContainerViewInfo& vi = m_viewInfo;
  if (!canvas.RectVisible(vi.Bounds)) return;
  const bool excludeButtons = !vi.Buttons.empty() && !vi.Buttons.front().PartiallyTransparent;
  int level = -1;
  if (excludeButtons) {
    level = canvas.Save();
    for (const TcxEditButtonViewInfo& button : vi.Buttons) canvas.ExcludeClipRect(button.VisibleBounds);
  }
  if (vi.Native) PaintNativeFrame(canvas);
  else PaintClassicFrame(canvas);
  if (excludeButtons) canvas.Restore(level);

  for (std::size_t i = 0; i < vi.Buttons.size(); ++i) {
    TcxEditButtonViewInfo& button = vi.Buttons[i];
    button.BackdropColor = vi.BackgroundColor;
    if (button.VisibleBounds.IsEmpty()) continue;
    const bool clip = button.Bounds.Intersected(vi.InnerRect) != button.Bounds;
    const int buttonLevel = clip ? canvas.Save() : -1;
    if (clip) canvas.IntersectClipRect(button.VisibleBounds);
    PaintEditButton(canvas, static_cast<int>(i));
    if (clip) canvas.Restore(buttonLevel);
  }

  if (!vi.Native && !vi.Transparent && HasEditableText()) FrameSolid(canvas, vi.ClientRect, vi.BackgroundColor);
  PaintContent(canvas);
}

void TcxContainer::PaintClassicFrame(ICanvas& canvas) {
  const TcxContainerViewInfo& vi = m_viewInfo;
  const int w = BorderWidth(vi.FrameStyle);
  TRect f = vi.InnerRect.Inflated(w, w);
  const int level = canvas.Save();
  if (vi.HasShadow) {
    const int right = (vi.Edges & bRight) ? f.Right : vi.InnerRect.Right;
    const int bottom = (vi.Edges & bBottom) ? f.Bottom : vi.InnerRect.Bottom;
    const TRect below{f.Left + kShadowWidth, bottom, right, bottom + kShadowWidth};
    const TRect beside{right, f.Top + kShadowWidth, right + kShadowWidth, bottom + kShadowWidth};
    canvas.FillRect(below, clBtnShadow);
    canvas.FillRect(beside, clBtnShadow);
    for (const TRect& r : {below, beside, TRect{f.Left, bottom, f.Left + kShadowWidth, bottom + kShadowWidth},
                           TRect{right, f.Top, right + kShadowWidth, f.Top + kShadowWidth}})
      canvas.ExcludeClipRect(r);
  }
  switch (vi.FrameStyle) {
    case TBorder::cbsSingle:
    case TBorder::cbsThick: FrameSolid(canvas, f, vi.FrameColor, w); break;
    case TBorder::cbsFlat:
      FrameEdge(canvas, f, TcxFrameEdge::SunkenOuter, vi.Edges);
      FrameSolid(canvas, f.Inflated(-1, -1), clBtnFace);
      break;
    case TBorder::cbs3D:
      FrameEdge(canvas, f, TcxFrameEdge::SunkenOuter, vi.Edges);
      FrameTwoTone(canvas, f.Inflated(-1, -1), cl3DDkShadow, cl3DLight, vi.Edges);
      break;
    default: break;
  }
  canvas.Restore(level);
  if (!vi.Transparent) canvas.FillRect(vi.InnerRect, vi.BackgroundColor);
}

void TcxContainer::PaintNativeFrame(ICanvas& canvas) {
  const TcxContainerViewInfo& vi = m_viewInfo;
  if (vi.FrameStyle == TBorder::cbsNone) {
    if (!vi.Transparent) canvas.FillRect(vi.Bounds, vi.BackgroundColor);
    return;
  }
  const TThemeHandle theme = ThemeHandle(tcEdit);
  // Without a content rectangle the whole control is content (the theme then draws no
  // visible frame, but nothing is left unpainted).
  const TRect content =
      GetThemeBackgroundContentRect(theme, &canvas, kEditPart, vi.NativeEditState, vi.Bounds).value_or(vi.Bounds);
  const int level = canvas.Save();
  canvas.ExcludeClipRect(content);
  DrawThemeBackground(theme, canvas, kEditPart, vi.NativeEditState, vi.Bounds);
  canvas.Restore(level);
  if (!vi.Transparent) canvas.FillRect(content, vi.BackgroundColor);
}

void TcxContainer::PaintEditButton(ICanvas& canvas, int index) {
  const TcxEditButtonViewInfo& button = m_viewInfo.Buttons.at(static_cast<std::size_t>(index));
  if (button.ThemePart != 0) {
    DrawThemeBackground(ThemeHandle(button.ThemeClass), canvas, button.ThemePart, button.ThemeState, button.Bounds);
    return;
  }
  PaintButtonFrame(canvas, button);
}

// The classic frames: each leaves the content rectangle and the colours of the face and
// the ink to the content drawing.
void TcxContainer::PaintButtonFrame(ICanvas& canvas, const TcxEditButtonViewInfo& button) {
  TRect r = button.Bounds;
  const bool pressed = button.State == TButtonState::ebsPressed, hot = button.State == TButtonState::ebsHot;
  const TColor face = button.FaceTransparent ? button.BackdropColor : clBtnFace;
  const bool transparentEditor = m_viewInfo.Transparent;
  TButtonStyle style = button.Style;
  if (style == TButtonStyle::btsSimple && (pressed || hot)) style = TButtonStyle::btsFlat;

  switch (style) {
    case TButtonStyle::btsDefault:
    case TButtonStyle::bts3D:
      if (pressed) {
        FrameSolid(canvas, r, clBtnShadow);
        r = r.Inflated(-1, -1);
        FrameSolid(canvas, r, face);
      } else {
        FrameTwoTone(canvas, r, cl3DLight, cl3DDkShadow);
        r = r.Inflated(-1, -1);
        FrameTwoTone(canvas, r, clBtnHighlight, clBtnShadow);
      }
      r = r.Inflated(-1, -1);
      break;
    case TButtonStyle::btsFlat:
      VerticalLine(canvas, r.Left, r.Top, r.Bottom, face);
      ++r.Left;
      if (pressed) FrameTwoTone(canvas, r, clBtnShadow, clBtnHighlight);
      else FrameTwoTone(canvas, r, clBtnHighlight, clBtnShadow);
      r = r.Inflated(-1, -1);
      break;
    case TButtonStyle::btsSimple: {
      if (!transparentEditor) FrameSolid(canvas, r, button.BackdropColor);
      r = r.Inflated(-1, -1);
      const TColor line = transparentEditor && !button.FaceTransparent ? clBtnFace : button.BackdropColor;
      VerticalLine(canvas, r.Left, r.Top, r.Bottom, line);
      ++r.Left;
      break;
    }
    case TButtonStyle::btsHotFlat: {
      const int left = r.Left, top = r.Top, right = r.Right - 1, bottom = r.Bottom - 1;  // the outermost pixels
      switch (button.FrameKind) {
        case 0: {
          const std::array<TPoint, 4> line{TPoint{right, bottom}, {left, bottom}, {left, top}, {right, top}};
          FillPolyline(canvas, line, clBtnShadow);
          r = {left + 1, top + 1, r.Right, bottom};
          break;
        }
        case 2:
        case 4: {
          const std::array<TPoint, 4> line{TPoint{left, top}, {right, top}, {right, bottom}, {left, bottom}};
          FillPolyline(canvas, line, clBtnShadow);
          r = {left, top + 1, right, bottom};
          break;
        }
        case 5: {
          const std::array<TPoint, 3> line{TPoint{left, bottom}, {right, bottom}, {right, top}};
          FillPolyline(canvas, line, clBtnShadow);
          r = {left, top, right, bottom};
          break;
        }
        case 7: {
          const std::array<TPoint, 4> line{TPoint{left, top}, {left, bottom}, {right, bottom}, {right, top}};
          FillPolyline(canvas, line, clBtnShadow);
          r = {left + 1, top, right, bottom};
          break;
        }
        default:
          FrameSolid(canvas, r, clBtnShadow);
          r = r.Inflated(-1, -1);
          break;
      }
      TColor hotFace = face, ink = clBtnText;
      if (pressed) {
        hotFace = button.FaceTransparent ? button.BackdropColor : clBtnText;
        ink = clBtnHighlight;
      } else if (hot) {
        hotFace = button.FaceTransparent ? button.BackdropColor : clBtnShadow;
        ink = button.FaceTransparent ? clBtnShadow : clBtnHighlight;
      }
      PaintEditButtonContent(canvas, button, r, hotFace, ink);
      return;
    }
    case TButtonStyle::btsUltraFlat:
    case TButtonStyle::btsOffice11: {
      const bool office = style == TButtonStyle::btsOffice11;
      TColor lightFace = face;
      if (pressed || hot) {
        FrameSolid(canvas, r, office ? kOffice11BorderColor : clHighlight);
        const TcxCustomLookAndFeelPainter& painter =
            office ? static_cast<const TcxCustomLookAndFeelPainter&>(Office11Painter()) : UltraFlatPainter();
        lightFace = button.FaceTransparent ? button.BackdropColor : painter.PushFaceColor(pressed ? cxbsPressed : cxbsHot);
      } else {
        if (!transparentEditor) FrameSolid(canvas, r, button.BackdropColor);
        if (office && button.State == TButtonState::ebsNormal && !button.FaceTransparent)
          lightFace = kOffice11ButtonFaceColor;
      }
      PaintEditButtonContent(canvas, button, r.Inflated(-1, -1), lightFace, clBtnText);
      return;
    }
  }
  PaintEditButtonContent(canvas, button, r, face, clBtnText);
}

void TcxContainer::PaintEditButtonContent(ICanvas& canvas, const TcxEditButtonViewInfo&, const TRect& rect,
                                          TColor faceColor, TColor) {
  canvas.FillRect(rect, faceColor);
}

}  // namespace vormix
