#include "editors/cxProgressBar.h"

#include <algorithm>
#include <cmath>

#include "base/NumberText.h"
#include "forms/Forms.h"
#include "lookandfeel/dxUxTheme.h"

namespace vormix {

namespace {

using TBarStyle = TcxProgressBarBarStyle;

constexpr int PP_BAR = 1, PP_BARVERT = 2, PP_CHUNK = 3, PP_CHUNKVERT = 4;
constexpr int kNativeState = 1;
constexpr int kClassicBufferMargin = 2;  // the border area every editor style reserves

long double Range(double min, double max) {
  const long double range = static_cast<long double>(max) - min;
  return range < 1 ? 1 : range;
}

TColor Blend(TColor c1, TColor c2, long double g, long double l) {
  auto byte = [&](int shift) {
    const long double b1 = (c1 >> shift) & 0xFF, b2 = (c2 >> shift) & 0xFF;
    return static_cast<TColor>(static_cast<std::int64_t>(std::trunc(g * (b2 - b1) / l + b1)) & 0xFF) << shift;
  };
  return byte(0) | byte(8) | byte(16);
}

// The same picture: what is drawn, not the exact position behind it.
// Puts a canvas back into the state it was saved in, however the scope ends.
struct TRestoreOnExit {
  ICanvas& Canvas;
  int Level;
  ~TRestoreOnExit() { Canvas.Restore(Level); }
};

// A bitmap of the given size, the one kept in the slot when it has that size already.
IBitmapCanvas& KeptBitmap(std::unique_ptr<IBitmapCanvas>& slot, ICanvas& from, int width, int height) {
  if (!slot || slot->Width() != width || slot->Height() != height) slot = from.CreateBitmap(width, height);
  return *slot;
}

bool SamePicture(const TcxCustomProgressBarViewInfo& a, const TcxCustomProgressBarViewInfo& b) {
  TcxCustomProgressBarViewInfo x = a;
  x.ShownPosition = b.ShownPosition;
  x.ShownPeak = b.ShownPeak;
  x.Min = b.Min;
  x.Max = b.Max;
  x.OverloadValue = b.OverloadValue;
  return x == b && (a.ShownPosition >= a.Max) == (b.ShownPosition >= b.Max) && a.Text() == b.Text();
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Settings

void TcxCustomProgressBarProperties::Assign(const TcxCustomEditProperties& source) {
  BeginUpdate();
  TcxCustomEditProperties::Assign(source);
  if (const auto* s = dynamic_cast<const TcxCustomProgressBarProperties*>(&source)) {
    SetBarBevelOuter(s->m_barBevelOuter);
    SetBarStyle(s->m_barStyle);
    SetBeginColor(s->m_beginColor);
    SetBorderWidth(s->m_borderWidth);
    SetEndColor(s->m_endColor);
    SetForegroundImage(s->m_foregroundImage);
    // The range in an order that every pair of ranges accepts.
    SetMin(std::min(s->m_min, m_min));
    SetMax(s->m_max);
    SetMin(s->m_min);
    SetOrientation(s->m_orientation);
    SetOverloadBeginColor(s->m_overloadBeginColor);
    SetOverloadEndColor(s->m_overloadEndColor);
    SetOverloadValue(s->m_overloadValue);
    SetPeakColor(s->m_peakColor);
    SetPeakSize(s->m_peakSize);
    SetPeakValue(s->m_peakValue);
    SetShowOverload(s->m_showOverload);
    SetShowPeak(s->m_showPeak);
    SetShowText(s->m_showText);
    SetShowTextStyle(s->m_showTextStyle);
    SetSolidTextColor(s->m_solidTextColor);
    SetTextOrientation(s->m_textOrientation);
    SetTransparent(s->m_transparent);
    SetTransparentImage(s->m_transparentImage);
  }
  EndUpdate();
}

void TcxCustomProgressBarProperties::SetBorderWidth(int value) { Set(m_borderWidth, std::clamp(value, 0, 65535)); }

void TcxCustomProgressBarProperties::SetPeakSize(int value) { Set(m_peakSize, std::max(value, 1)); }

void TcxCustomProgressBarProperties::SetForegroundImage(const TImage& image) {
  m_foregroundImage = image;
  Changed();
}

void TcxCustomProgressBarProperties::SetMin(double value) {
  if (value == m_min) return;
  m_min = value;
  if (m_min > m_max) m_max = m_min;
  if (m_overloadValue < m_min) m_overloadValue = m_min;
  if (m_peakValue < m_min) m_peakValue = m_min;
  Changed();
}

void TcxCustomProgressBarProperties::SetMax(double value) {
  if (value == m_max || value <= m_min) return;
  m_max = value;
  if (m_overloadValue > m_max) m_overloadValue = m_max;
  if (m_peakValue > m_max) m_peakValue = m_max;
  Changed();
}

void TcxCustomProgressBarProperties::SetOverloadValue(double value) {
  if (value == m_overloadValue) return;
  m_overloadValue = std::min(std::max(value, m_min), m_max);
  Changed();
}

void TcxCustomProgressBarProperties::SetTransparent(bool value) {
  if (value == m_transparent) return;
  m_transparent = value;
  Changed();
  if (ChangeHook) ChangeHook();
}

Variant TcxCustomProgressBarProperties::ValueToDisplayValue(const Variant& value, bool) const {
  if (value.IsString()) {
    const std::string& text = value.AsString();
    long double number = 0;
    // The whole text must be the number: nothing may follow it, not even a blank.
    if (!text.empty() && text.back() != ' ' && ParseDecimal(text, '.', number))
      return Variant::FromDouble(static_cast<double>(number));
    return Variant::FromInteger(0);
  }
  if (value.IsNumeric() || value.Type() == VarType::Date) return value;
  return Variant::FromInteger(0);
}

std::string TcxCustomProgressBarProperties::DisplayText(const Variant& value) const {
  std::string text = VariantToString(ValueToDisplayValue(value, false));
  if (m_showTextStyle == TcxProgressBarTextStyle::cxtsPercent) text += " %";
  return text;
}

// ---------------------------------------------------------------------------------------
// Layout

int TcxCustomProgressBarViewInfo::Length(double value, int extent) const {
  const long double length = (static_cast<long double>(value) - Min) * std::max(extent, 0) / Range(Min, Max);
  const double rounded = std::trunc(static_cast<double>(length));
  return static_cast<int>(std::clamp(rounded, -1e9, 1e9));
}

std::string TcxCustomProgressBarViewInfo::Text() const {
  if (ShowTextStyle == TcxProgressBarTextStyle::cxtsPosition) return DoubleToText(ShownPosition);
  // Halves go to the even neighbour, as the default rounding of the processor does.
  long double pct = std::nearbyint((static_cast<long double>(ShownPosition) - Min) / Range(Min, Max) * 100);
  if (pct > 100) pct = 100;
  if (pct < -1e18L) pct = -1e18L;
  return Int64ToText(static_cast<std::int64_t>(pct)) + " %";
}

void TcxCustomProgressBarViewData::Calculate(TcxCustomProgressBarViewInfo& vi, const TRect& bounds,
                                             const TRect& insideBorder) const {
  TcxCustomProgressBarProperties& p = m_properties;
  vi.BeginColor = p.BeginColor();
  vi.EndColor = p.EndColor();
  vi.BarBevelOuter = p.BarBevelOuter();
  vi.Min = p.Min();
  vi.Max = p.Max();
  vi.Orientation = p.Orientation();
  vi.ShowText = p.ShowText();
  vi.ShowTextStyle = p.ShowTextStyle();
  vi.TextOrientation = p.TextOrientation();
  vi.SolidTextColor = p.SolidTextColor();
  vi.BarStyle = p.BarStyle();
  vi.OverloadValue = p.OverloadValue();
  vi.OverloadBeginColor = p.OverloadBeginColor();
  vi.OverloadEndColor = p.OverloadEndColor();
  vi.ShowOverload = p.ShowOverload();
  vi.PeakColor = p.PeakColor();
  vi.PeakSize = p.PeakSize();
  vi.ShowPeak = p.ShowPeak();
  vi.Transparent = p.Transparent();

  double peak = std::max(std::min(std::max(p.PeakValue(), vi.Min), vi.Max), vi.ShownPosition);
  if (peak > p.PeakValue()) p.RaisePeakSilently(peak);
  vi.ShownPeak = peak;

  vi.Bounds = bounds;
  const int bw = p.BorderWidth();
  if (vi.Native) {
    vi.BarBounds = bounds;
    vi.Content = {bounds.Left + bw + 3, bounds.Top + bw + 3, bounds.Right - bw - 2, bounds.Bottom - bw - 2};
  } else {
    vi.BarBounds = insideBorder;
    vi.Content = insideBorder.Inflated(-bw, -bw);
  }
  const TRect& c = vi.Content;
  const bool horizontal = vi.IsHorizontal();
  vi.FilledRect = c;
  if (horizontal) vi.FilledRect.Right = c.Left + vi.Length(vi.ShownPosition, c.Width());
  else vi.FilledRect.Top = c.Bottom - vi.Length(vi.ShownPosition, c.Height());

  vi.OverloadShown = vi.ShowOverload && !vi.Native && vi.ShownPosition >= vi.OverloadValue;
  vi.OverloadRect = {};
  if (vi.OverloadShown) {
    vi.OverloadRect = vi.FilledRect;
    if (horizontal) {
      vi.OverloadRect.Left = c.Left + vi.Length(vi.OverloadValue, c.Width());
      vi.OverloadRect.Right = std::min(vi.OverloadRect.Right, c.Right);
      vi.FilledRect.Right = vi.OverloadRect.Left;
    } else {
      vi.OverloadRect.Top = c.Bottom - vi.Length(vi.ShownPosition, c.Height());
      vi.OverloadRect.Bottom = std::max(c.Bottom - vi.Length(vi.OverloadValue, c.Height()), c.Top);
      vi.FilledRect.Top = vi.OverloadRect.Bottom;
    }
  }

  vi.PeakShown = vi.ShowPeak;
  vi.PeakRect = vi.FilledRect;
  if (horizontal) {
    vi.PeakRect.Left = c.Left + vi.Length(vi.ShownPeak, c.Width());
    if (vi.PeakRect.Left + vi.PeakSize > c.Right) vi.PeakRect.Left = c.Right - vi.PeakSize;
    vi.PeakRect.Right = vi.PeakRect.Left + vi.PeakSize;
  } else {
    vi.PeakRect.Bottom = c.Bottom - vi.Length(vi.ShownPeak, c.Height());
    if (vi.PeakRect.Bottom - vi.PeakSize < c.Top) vi.PeakRect.Bottom = c.Top + vi.PeakSize;
    vi.PeakRect.Top = vi.PeakRect.Bottom - vi.PeakSize;
  }

  // The picture's transparent colour (that of its bottom-left pixel) shows the
  // background colour.
  vi.BarImage = p.ForegroundImage();
  if (p.TransparentImage() && !vi.BarImage.IsEmpty()) {
    const TColor transparent = vi.BarImage.At(0, vi.BarImage.Height - 1);
    for (TColor& pixel : vi.BarImage.Pixels)
      if (pixel == transparent) pixel = vi.BackgroundColor;
  }
}

// ---------------------------------------------------------------------------------------
// The control

TcxCustomProgressBar::TcxCustomProgressBar(std::string name,
                                           std::unique_ptr<TcxCustomProgressBarProperties> properties)
    : TcxCustomEdit(std::move(name), std::move(properties)), m_viewData(Properties()) {
  SetTabStop(false);
  SetParentColor(true);
  SetBounds(0, 0, 121, 21);
  Properties().ChangeHook = [this] { Invalidate(); };
}

void TcxCustomProgressBar::SetPosition(double position) {
  if (position == m_bar.ShownPosition) return;
  const TcxCustomProgressBarProperties& p = Properties();
  if (!IsLoading() && p.Min() < p.Max()) position = std::min(std::max(position, p.Min()), p.Max());
  SetEditValue(Variant::FromDouble(position));
}

double TcxCustomProgressBar::DisplayNumber() const {
  const Variant shown = Properties().ValueToDisplayValue(EditValue(), false);
  return shown.Type() == VarType::Double || shown.Type() == VarType::Date ? shown.AsDouble()
                                                                          : static_cast<double>(shown.AsInt64());
}

void TcxCustomProgressBar::ClampShownPosition() {
  const TcxCustomProgressBarProperties& p = Properties();
  if (p.Min() < p.Max()) m_bar.ShownPosition = std::min(std::max(m_bar.ShownPosition, p.Min()), p.Max());
}

void TcxCustomProgressBar::RefreshText() {
  m_bar.ShownPosition = DisplayNumber();
  if (Properties().Transparent()) Invalidate();
  ClampShownPosition();
  BarChanged();
}

void TcxCustomProgressBar::ApplySettings() {
  const TcxCustomProgressBarProperties& p = Properties();
  if (!IsLoading() && p.Min() < p.Max()) {
    TcxUserChangeScope applying(*this);
    const double shown = DisplayNumber();
    if (shown < p.Min()) StoreEditValue(Variant::FromDouble(p.Min()));
    else if (shown > p.Max()) StoreEditValue(Variant::FromDouble(p.Max()));
  }
  ClampShownPosition();
  TcxCustomEdit::ApplySettings();
  CalculateLayout();
  if (p.Transparent()) Invalidate();
}

// What the bar takes from its look, its style and its font changes only with them, so it
// is worked out with the frame; asking for the style in force asks the window system
// for the focus, which is too slow to do for each of a batch's values.
void TcxCustomProgressBar::CalculateBarLook() {
  m_bar.Native = Style().LookAndFeel.NativeStyle() && ThemeHandle(tcProgress) != 0;
  m_bar.BackgroundColor = ViewInfo().BackgroundColor;
  m_bar.TextColor = ActiveStyle().TextColor();
  m_bar.Font = Font();
}

void TcxCustomProgressBar::CalculateBar() { m_viewData.Calculate(m_bar, ViewInfo().Bounds, ViewInfo().InnerRect); }

void TcxCustomProgressBar::BarChanged() {
  const TcxCustomProgressBarViewInfo before = m_bar;
  CalculateBar();
  if (!SamePicture(before, m_bar)) Invalidate();
}

int TcxCustomProgressBar::PreferredHeight() const {
  const int text = WindowSystem() ? WindowSystem()->MeasureText("Zg", Font()).Height : std::abs(Font().Height);
  const TcxMargins m = ContentMargins();
  return text + 4 + m.Top + m.Bottom;
}

void TcxCustomProgressBar::CalculateLayout() {
  if (m_calculatingLayout) return;
  TFlagScope calculating(m_calculatingLayout);
  CalculateFrame();
  if (AutoSize() && HandleAllocated()) {
    const int height = PreferredHeight();
    if (height != Height()) {
      SetBounds(Left(), Top(), Width(), height);
      CalculateFrame();
    }
  }
  CalculateBarLook();
  CalculateBar();
}

void TcxCustomProgressBar::FontChanged() {
  TcxCustomEdit::FontChanged();
  CalculateLayout();
}

// A press never takes the focus to the bar, and no click follows it.
bool TcxCustomProgressBar::NativeMouseDown(TMouseButton, TPoint, TShiftState) { return true; }

void TcxCustomProgressBar::RepaintNow() {
  if (m_hasPainted && SamePicture(m_painted, m_bar)) return;
  if (INativeWindow* window = Window()) window->PaintNow();
}

void TcxCustomProgressBar::PaintWindow(ICanvas& canvas) {
  const TRect bounds = ClientRect();
  if (bounds.IsEmpty() || !canvas.RectVisible(bounds)) return;
  // The classic look has the editor frame around the bar; the native look has the theme
  // over the whole control.
  if (!m_bar.Native) {
    const int level = canvas.Save();
    if (IsPaintingCopy()) {
      if (std::optional<TRegion> region = BorderRegion()) {
        const TPoint origin = canvas.WindowOrigin();
        canvas.SelectClipRegion(region->Offset(-origin.X, -origin.Y), TClipCombine::ccAnd);
      }
    }
    PaintEditor(canvas);
    canvas.Restore(level);
  }
  PaintBar(canvas);
  m_painted = m_bar;
  m_hasPainted = true;
}

// ---------------------------------------------------------------------------------------
// Painting: the bar, the text and its inversion are composed in a buffer at control
// coordinates and reach the window in one copy.

class TcxProgressBarPainter {
 public:
  TcxProgressBarPainter(TcxCustomProgressBar& bar, IBitmapCanvas& buffer, TRect bufferRect)
      : m_bar(bar), vi(bar.m_bar), m_buffer(buffer), m_bufferRect(bufferRect) {}

  void Paint() {
    PaintBackground();
    m_barArea = vi.FilledRect;
    if (vi.OverloadShown) {
      if (vi.IsHorizontal()) m_barArea.Right = vi.OverloadRect.Right;
      else m_barArea.Top = vi.OverloadRect.Top;
    }
    m_fillEnd = vi.IsHorizontal() ? m_barArea.Right : m_barArea.Top;
    PaintBarArea();
    if (vi.PeakShown) m_buffer.FillRect(vi.PeakRect, vi.PeakColor);
    if (vi.ShowText) PaintText();
  }

 private:
  bool Horizontal() const { return vi.IsHorizontal(); }
  bool OverloadColors(int x, int y) const {
    return vi.OverloadShown && (Horizontal() ? x >= vi.OverloadRect.Left : y < vi.OverloadRect.Bottom);
  }

  void PaintBackground() {
    if (vi.Transparent) {
      CaptureParentImage(m_bar, m_buffer, m_bar.ClientRect());
    } else if (vi.Native) {
      PaintCachedFrame();
    } else {
      m_buffer.FillRect(m_bufferRect, vi.BackgroundColor);
    }
    if (vi.Native) PrepareStrip();
  }

  // The background with the theme's frame over it changes only with the size, the colour
  // and the theme, so it is drawn once and copied at every paint after.
  void PaintCachedFrame() {
    TcxCustomProgressBar::TCachedPicture& cache = m_bar.m_frameCache;
    const TThemeHandle theme = ThemeHandle(tcProgress);
    const TColor color = m_buffer.ResolveColor(vi.BackgroundColor);
    const TRect key{m_bufferRect.Width(), m_bufferRect.Height(), Horizontal() ? 0 : 1, 0};
    if (!cache.Bitmap || cache.Key != key || cache.Color != color || cache.Theme != theme) {
      m_buffer.FillRect(m_bufferRect, vi.BackgroundColor);
      DrawThemeBackground(theme, m_buffer, Horizontal() ? PP_BAR : PP_BARVERT, kNativeState, vi.BarBounds);
      cache.Bitmap = m_buffer.CreateBitmap(m_bufferRect.Width(), m_bufferRect.Height());
      cache.Bitmap->BitBlt({0, 0, m_bufferRect.Width(), m_bufferRect.Height()}, m_buffer, m_bufferRect.TopLeft(),
                           TRasterOp::roSrcCopy);
      cache.Key = key;
      cache.Color = color;
      cache.Theme = theme;
      return;
    }
    m_buffer.BitBlt(m_bufferRect, *cache.Bitmap, {0, 0}, TRasterOp::roSrcCopy);
  }

  // The fifth column (or row) of a five-pixel chunk, as long as the filled part is thick,
  // asked of the theme once and repeated along the bar's whole length in a kept bitmap:
  // a paint then copies the strip to every column of a run in one transfer.
  void PrepareStrip() {
    TcxCustomProgressBar::TCachedPicture& cache = m_bar.m_stripCache;
    const TThemeHandle theme = ThemeHandle(tcProgress);
    const int thickness = std::max(Horizontal() ? vi.FilledRect.Height() : vi.FilledRect.Width(), 0);
    const int length = std::max(Horizontal() ? vi.BarBounds.Width() : vi.BarBounds.Height(), 0) + 2;
    m_strip = nullptr;
    if (thickness == 0) return;
    const TRect key{thickness, length, Horizontal() ? 0 : 1, 0};
    if (!cache.Bitmap || cache.Key != key || cache.Theme != theme) {
      cache.Bitmap = Horizontal() ? m_buffer.CreateBitmap(length, thickness) : m_buffer.CreateBitmap(thickness, length);
      IBitmapCanvas& run = *cache.Bitmap;
      const TRect part = Horizontal() ? TRect{-4, 0, 1, thickness} : TRect{0, -4, thickness, 1};
      DrawThemeBackground(theme, run, Horizontal() ? PP_CHUNK : PP_CHUNKVERT, kNativeState, part);
      for (int done = 1; done < length; done *= 2) {
        const int more = std::min(done, length - done);
        if (Horizontal()) run.BitBlt({done, 0, done + more, thickness}, run, {0, 0}, TRasterOp::roSrcCopy);
        else run.BitBlt({0, done, thickness, done + more}, run, {0, 0}, TRasterOp::roSrcCopy);
      }
      cache.Key = key;
      cache.Theme = theme;
    }
    m_strip = cache.Bitmap.get();
  }

  // The strip in every column first..last-1 (rows for a vertical bar).
  void CopyStrip(int first, int last) {
    if (!m_strip) return;
    const int run = Horizontal() ? m_strip->Width() : m_strip->Height();
    for (int from = first; from < last; from += run) {
      const int to = std::min(last, from + run);
      if (Horizontal()) {
        const int top = vi.FilledRect.Top;
        m_buffer.BitBlt({from, top, to, top + m_strip->Height()}, *m_strip, {0, 0}, TRasterOp::roSrcCopy);
      } else {
        const int left = vi.FilledRect.Left;
        m_buffer.BitBlt({left, from, left + m_strip->Width(), to}, *m_strip, {0, 0}, TRasterOp::roSrcCopy);
      }
    }
  }

  void Bevel(const TRect& r) {
    if (r.IsEmpty()) return;
    TEdgeFlags edge = 0;
    switch (vi.BarBevelOuter) {
      case TcxProgressBarBevelOuter::cxbvNone: return;
      case TcxProgressBarBevelOuter::cxbvLowered: edge = bdrSunkenOuter; break;
      case TcxProgressBarBevelOuter::cxbvRaised: edge = bdrRaisedInner; break;
    }
    m_buffer.DrawEdge(r, edge, bfLeft | bfTop);
    m_buffer.DrawEdge(r, edge, bfRight | bfBottom);
  }

  void Fill(const TRect& r, TColor color, bool bevel) {
    m_buffer.FillRect(r, color);
    if (bevel) Bevel(r);
  }

  void PaintBarArea() {
    TBarStyle style = vi.BarStyle;
    if (vi.Native && style == TBarStyle::cxbsSolid) style = TBarStyle::cxbsGradient;
    if (vi.Native && style == TBarStyle::cxbsLEDs) style = TBarStyle::cxbsGradientLEDs;
    switch (style) {
      case TBarStyle::cxbsSolid: PaintSolid(); break;
      case TBarStyle::cxbsGradient: PaintGradient(); break;
      case TBarStyle::cxbsLEDs: PaintLEDs(false); break;
      case TBarStyle::cxbsGradientLEDs: PaintLEDs(true); break;
      case TBarStyle::cxbsBitmap: PaintBitmap(); break;
      case TBarStyle::cxbsBitmapLEDs: PaintBitmapLEDs(); break;
    }
  }

  void PaintSolid() {
    if (vi.OverloadShown) {
      m_buffer.FillRect(vi.FilledRect, vi.BeginColor);
      m_buffer.FillRect(vi.OverloadRect, vi.OverloadBeginColor);
    } else {
      m_buffer.FillRect(m_barArea, vi.BeginColor);
    }
    Bevel(m_barArea);
  }

  // The colour of a gradient at column x (row y), over the whole bar's length; in the
  // overload part over the overload part's own length.
  TColor GradientColor(int x, int y) const {
    const TRect& a = m_barArea;
    if (OverloadColors(x, y)) {
      const TRect& o = vi.OverloadRect;
      return Horizontal() ? Blend(vi.OverloadBeginColor, vi.OverloadEndColor, x - o.Left, std::max(o.Width(), 1))
                          : Blend(vi.OverloadBeginColor, vi.OverloadEndColor, o.Bottom - y, std::max(o.Height(), 1));
    }
    const int w = std::max(vi.BarBounds.Width(), 1), h = std::max(vi.BarBounds.Height(), 1);
    return Horizontal() ? Blend(vi.BeginColor, vi.EndColor, x - a.Left, w)
                        : Blend(vi.BeginColor, vi.EndColor, a.Bottom - y, h);
  }

  void PaintGradient() {
    const TRect& a = m_barArea;
    if (vi.Native) {
      if (Horizontal()) CopyStrip(a.Left, a.Right);
      else CopyStrip(a.Top, a.Bottom);
      return;
    }
    if (Horizontal()) {
      for (int x = a.Left; x < a.Right; ++x) m_buffer.FillRect({x, a.Top, x + 1, a.Bottom}, GradientColor(x, 0));
    } else {
      for (int y = a.Bottom - 1; y >= a.Top; --y) m_buffer.FillRect({a.Left, y, a.Right, y + 1}, GradientColor(0, y));
    }
    Bevel(a);
  }

  // The LED blocks: a block ends two pixels before every pitch boundary, a closing block
  // fills what is left before the end, and a full bar is filled to its end.
  void PaintLEDs(bool gradient) {
    const TRect& a = m_barArea;
    const bool native = gradient && vi.Native;
    const int thickness = gradient ? (Horizontal() ? a.Height() : a.Width())
                                   : (Horizontal() ? vi.BarBounds.Height() : vi.BarBounds.Width());
    const int length = 2 * thickness / 3;
    const int pitch = length + 2;
    if (pitch <= 2) return;
    bool overload = false;
    auto colorAt = [&](int g) {
      if (!gradient) return overload ? vi.OverloadBeginColor : vi.BeginColor;
      return Horizontal() ? GradientColor(a.Left + g, 0) : GradientColor(0, a.Bottom - g);
    };
    auto block = [&](const TRect& r, int g) {
      if (native) {
        if (Horizontal()) CopyStrip(r.Left, r.Right);
        else CopyStrip(r.Top, r.Bottom);
      } else {
        Fill(r, colorAt(g), true);
      }
    };
    if (Horizontal()) {
      int last = a.Left;
      for (int x = a.Left; x < a.Right; ++x) {
        if ((x - a.Left) % pitch != 0 || x - pitch < a.Left) continue;
        if (!gradient && vi.OverloadShown && x >= vi.OverloadRect.Left - 1) overload = true;
        block({x - pitch, a.Top, x - 2, a.Bottom}, x - a.Left);
        if (!native) m_fillEnd = x - 2;
        last = x;
        if (a.Right - x - 2 < pitch) block({x, a.Top, native ? a.Right + 1 : a.Right, a.Bottom}, x - a.Left);
      }
      if (vi.ShownPosition >= vi.Max) {
        if (!gradient && vi.OverloadShown) overload = true;
        block({last, a.Top, a.Right, a.Bottom}, last - a.Left);
      }
    } else {
      int last = a.Bottom;
      for (int y = a.Bottom - 1; y >= a.Top; --y) {
        if ((a.Bottom - y - 1) % pitch != 0 || y + pitch > a.Bottom) continue;
        if (!gradient && vi.OverloadShown && y < vi.OverloadRect.Bottom) overload = true;
        block(native ? TRect{a.Left, y + 3, a.Right, y + pitch + 1} : TRect{a.Left, y + 2, a.Right, y + pitch},
              a.Bottom - y);
        if (!native) m_fillEnd = y + 2;
        last = y;
        if (y - a.Top < pitch) block({a.Left, a.Top, a.Right, native ? y + 1 : y}, a.Bottom - y);
      }
      if (vi.ShownPosition >= vi.Max) {
        if (!gradient && vi.OverloadShown) overload = true;
        block({a.Left, a.Top, a.Right, native ? last + 1 : last}, a.Bottom - last);
      }
    }
  }

  void PaintBitmap() {
    if (vi.BarImage.IsEmpty()) return;
    m_buffer.SetBrushPattern(vi.BarImage);
    m_buffer.FillRect(m_barArea);
  }

  void PaintBitmapLEDs() {
    if (vi.BarImage.IsEmpty()) return;
    const TRect& a = m_barArea;
    m_buffer.SetBrushPattern(vi.BarImage);
    auto fill = [&](const TRect& r) {
      if (r.Right > r.Left && r.Bottom > r.Top) m_buffer.FillRect(r);
    };
    TRect running = a;
    if (Horizontal()) {
      const int length = std::min(vi.BarImage.Width, a.Height());
      const int pitch = length + 2;
      if (length <= 0) return;
      for (int x = a.Left; x < a.Right; ++x) {
        if ((x - a.Left) % pitch != 0) continue;
        running.Right = x - 2;
        fill(running);
        running.Left = x;
        if (a.Right - x - 2 < length) fill({x, a.Top, a.Right, a.Bottom});
      }
      if (vi.ShownPosition == vi.Max) {
        running.Right = a.Right;
        fill(running);
      }
      m_fillEnd = running.Right;
    } else {
      const int length = std::min(vi.BarImage.Height, a.Width());
      const int pitch = length + 2;
      if (length <= 0) return;
      for (int y = a.Bottom - 1; y >= a.Top; --y) {
        if ((a.Bottom - y - 1) % pitch != 0) continue;
        running.Top = y + 2;
        fill(running);
        running.Bottom = y;
        if (y - a.Top < length) fill({a.Left, a.Top, a.Right, y});
      }
      if (vi.ShownPosition == vi.Max) {
        running.Top = a.Top;
        fill(running);
      }
      m_fillEnd = running.Top;
    }
  }

  // The text over the bar shows in the inverse of the bar's colours: the buffer keeps
  // the bar there, and the text's mask is combined into it with exclusive-or.
  void PaintText() {
    const std::string text = vi.Text();
    TFontSpec font = vi.Font;
    font.Color = vi.TextColor;
    m_buffer.SetFont(font);
    const TSize extent = m_buffer.TextExtent(text);
    const int tw = extent.Width, th = extent.Height;
    const TRect& bb = vi.BarBounds;
    const int w = bb.Width(), h = bb.Height();
    m_buffer.SetBackgroundMode(TBackgroundMode::bmTransparent);
    m_buffer.SetTextColor(vi.TextColor);
    if (vi.TextOrientation == TcxProgressBarOrientation::cxorHorizontal) {
      const int x = bb.Left + (w - tw) / 2, y = bb.Top + (h - th) / 2;
      if (x >= m_fillEnd || vi.SolidTextColor) {
        m_buffer.TextOut({x, y}, text);
        return;
      }
      const int maskWidth = std::min(m_fillEnd - x, tw);
      Invert(text, font, {x, y}, TRect::FromBounds(x, y, tw, th), {maskWidth, th}, {0, 0}, {x, y});
      return;
    }
    if (!m_buffer.FontIsTrueType()) font.Name = "Arial";
    font.Escapement = 2700;
    m_buffer.SetFont(font);
    const int x = bb.Left + (w - th) / 2 + th, y = bb.Top + (h - tw) / 2;
    if (y + tw <= m_fillEnd || vi.SolidTextColor) {
      m_buffer.TextOut({x, y}, text);
      return;
    }
    const bool below = m_fillEnd < y;
    Invert(text, font, {x, y}, TRect::FromBounds(x - th, y, th, tw), {th, tw}, {th, below ? 0 : y - m_fillEnd},
           {x - th, below ? y : m_fillEnd});
  }

  // The text is drawn in the text colour except over the bar, where the inverted mask
  // combined with exclusive-or turns its pixels into the inverse of the bar. Keeping the
  // text's pixels out of the region over the bar by a clip leaves the same pixels as
  // drawing it there and copying the region's old pixels back.
  void Invert(const std::string& text, const TFontSpec& font, TPoint at, const TRect& textRect, TSize maskSize,
              TPoint inMask, TPoint region) {
    if (maskSize.Width <= 0 || maskSize.Height <= 0) {
      m_buffer.TextOut(at, text);
      return;
    }
    const TRect maskRect{0, 0, maskSize.Width, maskSize.Height};
    const TRect target = maskRect.Offset(region.X, region.Y);
    IBitmapCanvas& mask = KeptBitmap(m_bar.m_mask, m_buffer, maskSize.Width, maskSize.Height);
    const TcxCustomProgressBar::TMaskKey key{text, font, maskSize, inMask};
    if (m_bar.m_maskKey != key) {
      m_bar.m_maskKey.reset();
      const TRestoreOnExit maskState{mask, mask.Save()};
      mask.FillRect(maskRect, clWhite);
      mask.SetFont(font);
      mask.SetTextColor(clBlack);
      mask.SetBackgroundMode(TBackgroundMode::bmTransparent);
      mask.TextOut(inMask, text);
      mask.BitBlt(maskRect, mask, {0, 0}, TRasterOp::roDstInvert);
      m_bar.m_maskKey = key;
    }
    if (target.Intersected(textRect) != textRect) {
      const TRestoreOnExit clip{m_buffer, m_buffer.Save()};
      m_buffer.ExcludeClipRect(target);
      m_buffer.TextOut(at, text);
    }
    m_buffer.BitBlt(target, mask, {0, 0}, TRasterOp::roSrcInvert);
  }

  TcxCustomProgressBar& m_bar;
  const TcxCustomProgressBarViewInfo& vi;
  IBitmapCanvas& m_buffer;
  TRect m_bufferRect;  // the buffer's whole area, in control coordinates
  IBitmapCanvas* m_strip = nullptr;
  TRect m_barArea;
  int m_fillEnd = 0;
};

void TcxCustomProgressBar::PaintBar(ICanvas& canvas) {
  const TRect& bb = m_bar.BarBounds;
  const int r = m_bar.Native ? 0 : kClassicBufferMargin;
  const int w = bb.Width(), h = bb.Height();
  if (w <= 0 || h <= 0) return;
  // A transparent bar may not cover every pixel of its buffer with the parent's image,
  // so it starts from a fresh (black) one each time.
  std::unique_ptr<IBitmapCanvas> fresh;
  IBitmapCanvas* buffer = nullptr;
  if (m_bar.Transparent) {
    fresh = canvas.CreateBitmap(w + r, h + r);
    buffer = fresh.get();
  } else {
    buffer = &KeptBitmap(m_buffer, canvas, w + r, h + r);
  }
  const TRestoreOnExit bufferState{*buffer, buffer->Save()};
  // Drawing goes in at control coordinates: the buffer's corner lies r pixels up and to
  // the left of the bar's.
  const TPoint corner{bb.Left - r, bb.Top - r};
  buffer->SetWindowOrigin(corner);
  TcxProgressBarPainter(*this, *buffer, TRect::FromBounds(corner.X, corner.Y, w + r, h + r)).Paint();
  canvas.BitBlt(bb, *buffer, bb.TopLeft(), TRasterOp::roSrcCopy);
}

TcxProgressBar::TcxProgressBar(std::string name)
    : TcxCustomProgressBar(std::move(name), std::make_unique<TcxProgressBarProperties>(this)) {
  ApplySettings();
}

}  // namespace vormix
