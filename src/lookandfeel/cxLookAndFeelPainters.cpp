#include "lookandfeel/cxLookAndFeelPainters.h"

namespace vormix {

namespace {

// Half of x, rounded half away from zero (as MulDiv(x, 1, 2) computes it).
int Half(int x) { return x >= 0 ? (x + 1) / 2 : -((-x + 1) / 2); }

TcxPainterModule* g_module = nullptr;

int ScrollPartThemeState(TcxButtonState state) {
  switch (state) {
    case cxbsHot: return 2;
    case cxbsPressed: return 3;
    case cxbsDisabled: return 4;
    default: return 1;
  }
}

int ArrowButtonStateCode(TcxButtonState state) {
  switch (state) {
    case cxbsHot: return 2;
    case cxbsPressed: return 3;
    case cxbsDisabled: return 4;
    default: return 1;  // cxbsDefault and cxbsNormal
  }
}

// The classic scroll-bar borders: raised around an arrow or the thumb, pressed around a
// pressed arrow.
void RaisedBorder(ICanvas& canvas, TRect r) {
  FrameTwoTone(canvas, r, clBtnFace, cl3DDkShadow);
  FrameTwoTone(canvas, r.Inflated(-1, -1), clBtnHighlight, clBtnShadow);
}

void PressedBorder(ICanvas& canvas, TRect r) {
  FrameTwoTone(canvas, r, clBtnShadow, clBtnShadow);
  FrameTwoTone(canvas, r.Inflated(-1, -1), clBtnFace, clBtnFace);
}

TImage PagePattern(TColor odd, TColor even) {
  TImage pattern(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) pattern.Set(x, y, (x % 2) != (y % 2) ? odd : even);
  return pattern;
}

}  // namespace

std::array<TPoint, 3> ArrowPoints(const TRect& rect, TcxArrowDirection direction, bool proportional) {
  int l = rect.Left, t = rect.Top, r = rect.Right, b = rect.Bottom;
  if (proportional) {
    const int d = (r - l) - (b - t);
    if (d > 0) {
      l += d / 2;
      r -= d / 2;
    } else {
      t += (-d) / 2;
      b -= (-d) / 2;
    }
  }
  int w = 0, h = 0;
  if (direction == adUp || direction == adDown) {
    w = (r - l - 1) / 2;
    if (w % 2 == 0) ++w;
    h = w / 2 + 1;
  } else {
    h = (b - t - 1) / 2;
    if (h % 2 == 0) ++h;
    w = h / 2 + 1;
  }
  std::array<TPoint, 3> p{};
  switch (direction) {
    case adUp:
      p[0] = {(l + r - 1) / 2, Half(t + b - h)};
      p[1] = {(l + r - w) / 2, p[0].Y + h - 1};
      p[2] = {p[1].X + w - 1, p[1].Y};
      break;
    case adDown:
      p[0] = {(l + r - w) / 2, Half(t + b - h)};
      p[1] = {p[0].X + w - 1, p[0].Y};
      p[2] = {(l + r - 1) / 2, p[0].Y + h - 1};
      break;
    case adLeft:
      p[0] = {(l + r - w) / 2, (t + b) / 2};
      p[1] = {p[0].X + w - 1, Half(t + b - h)};
      p[2] = {p[1].X, p[1].Y + h - 1};
      break;
    case adRight:
      p[0] = {(l + r - w) / 2, Half(t + b - h)};
      p[1] = {p[0].X + w - 1, (t + b) / 2};
      p[2] = {p[0].X, p[0].Y + h - 1};
      break;
  }
  return p;
}

int PushButtonThemeState(TcxButtonState state) {
  switch (state) {
    case cxbsDefault: return 5;
    case cxbsHot: return 2;
    case cxbsPressed: return 3;
    case cxbsDisabled: return 4;
    default: return 1;
  }
}

// ---------------------------------------------------------------------------------------
// The classic drawing

void TcxCustomLookAndFeelPainter::DrawTriangle(ICanvas& canvas, const std::array<TPoint, 3>& points,
                                               TColor color) const {
  const int level = canvas.Save();
  canvas.SetPen(color);
  canvas.SetBrush(color);
  canvas.Polygon(points);
  canvas.Restore(level);
}

void TcxCustomLookAndFeelPainter::FillArrow(ICanvas& canvas, const TRect& rect, TcxArrowDirection direction,
                                            TColor color) const {
  DrawTriangle(canvas, ArrowPoints(rect, direction, true), color);
}

void TcxCustomLookAndFeelPainter::PaintArrowButton(ICanvas& canvas, const TRect& rect, TcxButtonState state,
                                                   TcxArrowDirection direction, bool framed) const {
  const auto points = ArrowPoints(rect, direction, false);
  if (framed) PaintButtonBox(canvas, rect, state);
  else canvas.FillRect(rect, PushFaceColor(state));
  DrawTriangle(canvas, points, PushInkColor(state));
}

void TcxCustomLookAndFeelPainter::PaintButtonBox(ICanvas& canvas, const TRect& rect, TcxButtonState state) const {
  canvas.FillRect(rect, PushFaceColor(state));
  PaintPushFrame(canvas, rect, state);
}

void TcxCustomLookAndFeelPainter::PaintStateArrow(ICanvas& canvas, const TRect& rect, TcxButtonState state,
                                                  TcxArrowDirection direction) const {
  TRect r = rect;
  if (state == cxbsPressed) r = r.Offset(PushPressShift(), PushPressShift());
  if (state == cxbsDisabled) {
    DrawTriangle(canvas, ArrowPoints(r.Offset(1, 1), direction, true), clBtnHighlight);
    DrawTriangle(canvas, ArrowPoints(r, direction, true), clBtnShadow);
  } else {
    DrawTriangle(canvas, ArrowPoints(r, direction, true), PushInkColor(state));
  }
}

void TcxCustomLookAndFeelPainter::PaintFrame(ICanvas& canvas, const TRect& rect) const {
  FrameTwoTone(canvas, rect, clBtnShadow, clBtnHighlight);
  FrameTwoTone(canvas, rect.Inflated(-1, -1), cl3DDkShadow, cl3DLight);
}

TColor TcxCustomLookAndFeelPainter::PushFaceColor(TcxButtonState) const { return clBtnFace; }

TRect TcxCustomLookAndFeelPainter::PushFocusBounds(ICanvas&, const TRect& rect) const {
  const TRect inner = rect.Inflated(-4, -4);
  return inner.IsEmpty() ? rect : inner;
}

TRect TcxCustomLookAndFeelPainter::PushGroupInsets(int, int) const {
  const int w = PushFrameWidth(cxbsNormal);
  return {w, w, w, w};
}

TColor TcxCustomLookAndFeelPainter::PushInkColor(TcxButtonState state) const {
  return state == cxbsDisabled ? clBtnShadow : clBtnText;
}

void TcxCustomLookAndFeelPainter::PaintPushFrame(ICanvas& canvas, const TRect& rect, TcxButtonState state) const {
  switch (state) {
    case cxbsPressed:
      FrameSolid(canvas, rect, clBlack);
      FrameTwoTone(canvas, rect.Inflated(-1, -1), clBtnShadow, clBtnShadow);
      break;
    case cxbsDefault:
      FrameSolid(canvas, rect, clBlack);
      PaintPushFrame(canvas, rect.Inflated(-1, -1), cxbsNormal);
      break;
    default:
      FrameTwoTone(canvas, rect, clBtnHighlight, cl3DDkShadow);
      FrameTwoTone(canvas, rect.Inflated(-1, -1), cl3DLight, clBtnShadow);
      break;
  }
}

void TcxCustomLookAndFeelPainter::PaintPushButton(ICanvas& canvas, const TRect& rect, std::string_view caption,
                                                  TcxButtonState state, bool drawFrame, TColor faceColor,
                                                  TColor textColor) const {
  TRect r = rect;
  if (drawFrame) {
    PaintPushFrame(canvas, r, state);
    const int w = PushFrameWidth(state);
    r = r.Inflated(-w, -w);
  }
  canvas.FillRect(r, faceColor == clDefault ? PushFaceColor(state) : faceColor);
  canvas.SetTextColor(textColor == clDefault ? PushInkColor(state) : textColor);
  canvas.SetBrushClear();
  canvas.SetBackgroundMode(TBackgroundMode::bmTransparent);
  if (r.Height() % 2 != 0) --r.Bottom;
  if (r.Height() < 18) --r.Top;
  if (state == cxbsPressed) r = r.Offset(PushPressShift(), PushPressShift());
  if (!caption.empty()) {
    constexpr TTextFlags kFlags = dtCenter | dtVCenter | dtSingleLine;
    if (state == cxbsDisabled) {
      TRect shadow = r.Offset(1, 1);
      canvas.SetTextColor(clBtnHighlight);
      canvas.DrawText(shadow, caption, kFlags);
      canvas.SetTextColor(clBtnShadow);
    }
    canvas.DrawText(r, caption, kFlags);
  }
  canvas.SetBrush(clBtnFace);
}

void TcxCustomLookAndFeelPainter::PaintPushButtonPlain(ICanvas& canvas, const TRect& rect,
                                                       TcxButtonState state) const {
  PaintPushButton(canvas, rect, {}, state, true, clDefault, clDefault);
}

void TcxCustomLookAndFeelPainter::PaintScrollBarPart(ICanvas& canvas, bool horizontal, TcxButtonState state,
                                                     TcxScrollBarPart part, const TRect& rect) const {
  if (rect.IsEmpty() || (part == sbpThumbnail && state == cxbsDisabled)) return;
  if (state == cxbsHot) state = cxbsNormal;
  switch (part) {
    case sbpPageUp:
    case sbpPageDown: {
      const TcxPainterModule* module = TcxPainterModule::Current();
      const bool pressed = state == cxbsPressed;
      const TImage pattern = module ? module->PageAreaPattern(pressed)
                                    : (pressed ? PagePattern(cl3DDkShadow, clBlack) : PagePattern(clBtnHighlight, clBtnFace));
      canvas.SetBrushPattern(pattern);
      canvas.FillRect(rect);
      canvas.SetBrush(clBtnFace);
      break;
    }
    case sbpThumbnail:
      RaisedBorder(canvas, rect);
      canvas.FillRect(rect.Inflated(-PushFrameWidth(cxbsNormal), -PushFrameWidth(cxbsNormal)), clBtnFace);
      break;
    case sbpLineUp:
    case sbpLineDown: {
      TFrameControlState style = horizontal ? (part == sbpLineUp ? dfcsScrollLeft : dfcsScrollRight)
                                            : (part == sbpLineUp ? dfcsScrollUp : dfcsScrollDown);
      if (state == cxbsDisabled) style |= dfcsInactive;
      if (state == cxbsPressed) style |= dfcsFlat;
      canvas.DrawScrollArrow(state == cxbsPressed ? rect.Offset(1, 1) : rect, style);
      if (state == cxbsPressed) PressedBorder(canvas, rect);
      else RaisedBorder(canvas, rect);
      break;
    }
    case sbpNone: break;
  }
}

// ---------------------------------------------------------------------------------------
// The native drawing

void TcxWinXPLookAndFeelPainter::PaintArrowButton(ICanvas& canvas, const TRect& rect, TcxButtonState state,
                                                  TcxArrowDirection direction, bool framed) const {
  const int themeState = 4 * static_cast<int>(direction) + ArrowButtonStateCode(state);
  if (DrawThemeBackground(ThemeHandle(tcScrollBar), canvas, 1, themeState, rect)) return;
  TcxStandardLookAndFeelPainter::PaintArrowButton(canvas, rect, state, direction, framed);
}

void TcxWinXPLookAndFeelPainter::PaintButtonBox(ICanvas& canvas, const TRect& rect, TcxButtonState state) const {
  if (DrawThemeBackground(ThemeHandle(tcButton), canvas, 1, PushButtonThemeState(state), rect)) return;
  TcxStandardLookAndFeelPainter::PaintButtonBox(canvas, rect, state);
}

int TcxWinXPLookAndFeelPainter::FrameWidth() const { return ThemeHandle(tcListView) ? 1 : 2; }

void TcxWinXPLookAndFeelPainter::PaintFrame(ICanvas& canvas, const TRect& rect) const {
  if (const TThemeHandle theme = ThemeHandle(tcListView)) {
    const int level = canvas.Save();
    canvas.ExcludeClipRect(rect.Inflated(-1, -1));
    const bool drawn = DrawThemeBackground(theme, canvas, 5, 0, rect);
    canvas.Restore(level);
    if (drawn) return;
  }
  TcxStandardLookAndFeelPainter::PaintFrame(canvas, rect);
}

// Without a themed button the classic widths hold, so a default button's third frame
// line is not painted over by its face.
int TcxWinXPLookAndFeelPainter::PushFrameWidth(TcxButtonState state) const {
  if (const TThemeHandle theme = ThemeHandle(tcButton)) {
    if (auto content = GetThemeBackgroundContentRect(theme, nullptr, 1, PushButtonThemeState(state), {0, 0, 100, 100}))
      return content->Left;
  }
  return TcxStandardLookAndFeelPainter::PushFrameWidth(state);
}

TColor TcxWinXPLookAndFeelPainter::PushFaceColor(TcxButtonState state) const {
  if (auto color = GetThemeColor(ThemeHandle(tcButton), 1, PushButtonThemeState(state), TMT_BUTTONFACE)) return *color;
  return TcxStandardLookAndFeelPainter::PushFaceColor(state);
}

TRect TcxWinXPLookAndFeelPainter::PushFocusBounds(ICanvas& canvas, const TRect& rect) const {
  if (auto content = GetThemeBackgroundContentRect(ThemeHandle(tcButton), &canvas, 1, 1, rect)) return *content;
  return TcxStandardLookAndFeelPainter::PushFocusBounds(canvas, rect);
}

TColor TcxWinXPLookAndFeelPainter::PushInkColor(TcxButtonState state) const {
  if (auto color = GetThemeColor(ThemeHandle(tcButton), 1, PushButtonThemeState(state), TMT_TEXTCOLOR)) return *color;
  return TcxStandardLookAndFeelPainter::PushInkColor(state);
}

void TcxWinXPLookAndFeelPainter::PaintPushButton(ICanvas& canvas, const TRect& rect, std::string_view caption,
                                                 TcxButtonState state, bool drawFrame, TColor faceColor,
                                                 TColor textColor) const {
  const TThemeHandle theme = ThemeHandle(tcButton);
  const int themeState = PushButtonThemeState(state);
  if (DrawThemeBackground(theme, canvas, 1, themeState, rect)) {
    DrawThemeText(theme, canvas, 1, themeState, caption, dtCenter | dtVCenter | dtSingleLine, 0, rect);
    return;
  }
  TcxStandardLookAndFeelPainter::PaintPushButton(canvas, rect, caption, state, drawFrame, faceColor, textColor);
}

void TcxWinXPLookAndFeelPainter::PaintScrollBarPart(ICanvas& canvas, bool horizontal, TcxButtonState state,
                                                    TcxScrollBarPart part, const TRect& rect) const {
  if (rect.IsEmpty()) return;
  const TThemeHandle theme = ThemeHandle(tcScrollBar);
  if (theme) {
    const int themeState = ScrollPartThemeState(state);
    switch (part) {
      case sbpLineUp:
      case sbpLineDown: {
        const TcxArrowDirection direction =
            horizontal ? (part == sbpLineUp ? adLeft : adRight) : (part == sbpLineUp ? adUp : adDown);
        PaintArrowButton(canvas, rect, state, direction, true);
        return;
      }
      case sbpThumbnail:
        if (DrawThemeBackground(theme, canvas, horizontal ? 2 : 3, themeState, rect)) {
          DrawThemeBackground(theme, canvas, horizontal ? 8 : 9, 0, rect);
          return;
        }
        break;
      case sbpPageUp:
      case sbpPageDown: {
        const int themePart = horizontal ? (part == sbpPageUp ? 4 : 5) : (part == sbpPageUp ? 6 : 7);
        if (DrawThemeBackground(theme, canvas, themePart, themeState, rect)) return;
        break;
      }
      case sbpNone: return;
    }
  }
  TcxStandardLookAndFeelPainter::PaintScrollBarPart(canvas, horizontal, state, part, rect);
}

// ---------------------------------------------------------------------------------------
// The shared painters and the module's resources

const TcxStandardLookAndFeelPainter& StandardPainter() {
  static const TcxStandardLookAndFeelPainter painter;
  return painter;
}

const TcxFlatLookAndFeelPainter& FlatPainter() {
  static const TcxFlatLookAndFeelPainter painter;
  return painter;
}

const TcxUltraFlatLookAndFeelPainter& UltraFlatPainter() {
  static const TcxUltraFlatLookAndFeelPainter painter;
  return painter;
}

const TcxOffice11LookAndFeelPainter& Office11Painter() {
  static const TcxOffice11LookAndFeelPainter painter;
  return painter;
}

const TcxWinXPLookAndFeelPainter& WinXPPainter() {
  static const TcxWinXPLookAndFeelPainter painter;
  return painter;
}

TcxPainterModule::TcxPainterModule(IWindowSystem* windows) : m_windows(windows), m_previous(g_module) {
  g_module = this;
  Rebuild();
  m_notifier = std::make_unique<TcxSystemPaletteChangedNotifier>(true);
  m_notifier->OnSystemPaletteChanged = [this] { Rebuild(); };
}

TcxPainterModule::~TcxPainterModule() {
  m_notifier.reset();
  g_module = m_previous;
}

TcxPainterModule* TcxPainterModule::Current() { return g_module; }

void TcxPainterModule::Rebuild() {
  auto resolve = [this](TColor color) {
    return m_windows && IsSystemColor(color) ? m_windows->SystemColor(SystemColorIndex(color)) : color;
  };
  m_pattern = PagePattern(resolve(clBtnHighlight), resolve(clBtnFace));
  m_pressedPattern = PagePattern(resolve(cl3DDkShadow), clBlack);
  ++m_rebuilds;
}

}  // namespace vormix
