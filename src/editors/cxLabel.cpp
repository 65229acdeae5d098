#include "editors/cxLabel.h"

#include <cmath>
#include <cstdlib>
#include <numbers>

#include "base/Utf.h"
#include "lookandfeel/cxGraphics.h"
#include "lookandfeel/dxUxTheme.h"
#include "platform/WindowSystem.h"

namespace vormix {

namespace {

constexpr int kEditPart = 1;

bool ExtendsRight(TcxLabelOrientation o) {
  return o == TcxLabelOrientation::cxoRight || o == TcxLabelOrientation::cxoRightTop ||
         o == TcxLabelOrientation::cxoRightBottom;
}

bool ExtendsDown(TcxLabelOrientation o) {
  return o == TcxLabelOrientation::cxoBottom || o == TcxLabelOrientation::cxoLeftBottom ||
         o == TcxLabelOrientation::cxoRightBottom;
}

int Sign(int v) { return (v > 0) - (v < 0); }

// The angle the font is turned by: 0 to 359 degrees, and 0 for a font that cannot turn.
int SelectLabelFont(ICanvas& canvas, const TFontSpec& font, int angle) {
  canvas.SetFont(font);
  const int a = ((angle % 360) + 360) % 360;
  if (a == 0 || !canvas.FontIsTrueType()) return 0;
  TFontSpec turned = font;
  turned.Escapement = a * 10;
  canvas.SetFont(turned);
  return a;
}

TTextFlags AlignmentFlags(const TcxEditAlignment& alignment, bool wordWrap) {
  TTextFlags flags = 0;
  switch (alignment.Horz) {
    case TAlignment::taLeftJustify: break;
    case TAlignment::taRightJustify: flags |= dtRight; break;
    case TAlignment::taCenter: flags |= dtCenter; break;
  }
  switch (alignment.Vert) {
    case TcxEditVertAlignment::taTopJustify: break;
    case TcxEditVertAlignment::taBottomJustify: flags |= dtBottom; break;
    case TcxEditVertAlignment::taVCenter: flags |= dtVCenter; break;
  }
  // The system places a text vertically only when it is a single line.
  if (alignment.Vert != TcxEditVertAlignment::taTopJustify && !wordWrap) flags |= dtSingleLine;
  return flags;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Helpers

int FontPointSize(const TFontSpec& font, int dpi) {
  if (dpi <= 0) dpi = 96;
  return static_cast<int>(std::lround(std::abs(font.Height) * 72.0 / dpi));
}

int LabelStyleOffset(TcxLabelStyle style, int pointSize) {
  if (style != TcxLabelStyle::cxlsRaised && style != TcxLabelStyle::cxlsLowered) return 0;
  return pointSize < 12 ? 1 : 2;
}

std::string RemoveAccelChars(const std::string& caption) {
  std::string result;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] != '&') {
      result += caption[i];
    } else if (i + 1 == caption.size()) {
      result += '_';
    } else {
      result += caption[++i];
    }
  }
  return result;
}

char32_t AccelCharOf(const std::string& caption) {
  const std::u16string units = Utf8ToUtf16(caption);
  for (std::size_t i = 0; i + 1 < units.size(); ++i) {
    if (units[i] != u'&') continue;
    if (units[i + 1] != u'&') return units[i + 1];
    ++i;  // "&&" is a literal '&'
  }
  return 0;
}

TColor BlendLabelColor(TColor from, TColor to, int i, int n) {
  const auto part = [&](int shift) {
    const double b1 = (from >> shift) & 0xFF, b2 = (to >> shift) & 0xFF;
    return static_cast<TColor>(std::trunc(b1 + i * (b2 - b1) / n)) << shift;
  };
  return part(0) | part(8) | part(16);
}

// ---------------------------------------------------------------------------------------
// Settings

void TcxCustomLabelProperties::Assign(const TcxCustomEditProperties& source) {
  BeginUpdate();
  TcxCustomEditProperties::Assign(source);
  if (const auto* s = dynamic_cast<const TcxCustomLabelProperties*>(&source)) {
    SetAngle(s->m_angle);
    SetDepth(s->m_depth);
    SetLabelEffect(s->m_labelEffect);
    SetLabelStyle(s->m_labelStyle);
    SetOrientation(s->m_orientation);
    SetPenWidth(s->m_penWidth);
    SetShadowedColor(s->m_shadowedColor);
    SetShowAccelChar(s->m_showAccelChar);
    SetShowEndEllipsis(s->m_showEndEllipsis);
    SetTransparent(s->m_transparent);
    SetWordWrap(s->m_wordWrap);
    SetGlyph(s->Glyph());
  }
  EndUpdate();
}

void TcxCustomLabelProperties::SetGlyph(const TImage* picture) {
  if (picture) m_glyph = std::make_unique<TImage>(*picture);
  else m_glyph.reset();
  Changed();
}

TPoint TcxCustomLabelProperties::DepthShift() const {
  if (m_labelEffect == TcxLabelEffect::cxleNormal) return {0, 0};
  switch (m_orientation) {
    case TcxLabelOrientation::cxoLeft:
    case TcxLabelOrientation::cxoRight: return {m_depth, 0};
    case TcxLabelOrientation::cxoTop:
    case TcxLabelOrientation::cxoBottom: return {0, m_depth};
    default: return {m_depth, m_depth};
  }
}

Variant TcxCustomLabelProperties::ValueToDisplayValue(const Variant& value, bool) const {
  return Variant::FromString(VariantToString(value));
}

// ---------------------------------------------------------------------------------------
// Layout

void TcxCustomLabelViewData::Calculate(const TcxCustomLabel& label, TcxCustomLabelViewInfo& vi) {
  const TcxContainerViewInfo& frame = label.ViewInfo();
  const TcxCustomLabelProperties& p = label.Properties();
  vi.Bounds = frame.Bounds;
  vi.BorderRect = frame.InnerRect;
  vi.BackgroundColor = frame.BackgroundColor;
  const TcxEditStyle& style = label.ActiveStyle();
  vi.TextColor = (style.AssignedValues() & svTextColor) ? style.TextColor() : label.Font().Color;
  vi.Font = label.Font();
  vi.Native = frame.Native;
  vi.NativeState = frame.NativeEditState;

  vi.Transparent = p.Transparent();
  vi.LabelEffect = p.LabelEffect();
  vi.LabelStyle = p.LabelStyle();
  vi.Orientation = p.Orientation();
  vi.Depth = p.Depth();
  vi.ShadowedColor = p.ShadowedColor();
  vi.ShowAccelChar = p.ShowAccelChar();
  vi.Angle = p.Angle();
  vi.PenWidth = p.PenWidth();
  vi.WordWrap = p.WordWrap();
  vi.Alignment = p.Alignment();
  if (const TImage* glyph = p.Glyph()) vi.Glyph = *glyph;
  else vi.Glyph.reset();
  vi.DepthShift = p.DepthShift();

  const int border = BorderWidth(frame.FrameStyle);
  vi.ContentRect = vi.BorderRect.Inflated(-border, -border);
  vi.CacheStale = true;
}

TSize TcxCustomLabelViewData::ContentSize(const TcxCustomLabel& label, ICanvas& canvas) {
  const TcxCustomLabelProperties& p = label.Properties();
  std::string text = label.Caption().empty() ? std::string(" ") : label.Caption();
  const int theta = SelectLabelFont(canvas, label.Font(), p.Angle());
  const TPoint shift = p.DepthShift();
  const int offset = LabelStyleOffset(p.LabelStyle(), FontPointSize(label.Font(), label.ScreenDpi()));
  int available = label.Width() - 4 - (shift.X + offset);
  if (available < 0) available = INT_MAX / 2;

  TTextFlags flags = dtCalcRect | dtLeft | dtTop;
  if (p.WordWrap() && theta == 0) flags |= dtWordBreak;
  if (!(p.ShowAccelChar() && theta == 0)) flags |= dtNoPrefix;
  if (theta != 0 && p.ShowAccelChar()) text = RemoveAccelChars(text);
  TRect r{0, 0, available, 0};
  // The measure is the unturned text's; the turn is worked out below.
  if (theta != 0) canvas.SetFont(label.Font());
  canvas.DrawText(r, text, flags);
  int w = r.Width(), h = r.Height();
  if (theta != 0) {
    const double t = theta * std::numbers::pi / 180;
    const double c = std::abs(std::cos(t)), s = std::abs(std::sin(t));
    const int turnedW = static_cast<int>(std::trunc(c * w + s * h + 0.5));
    const int turnedH = static_cast<int>(std::trunc(s * w + c * h + 0.5));
    w = turnedW;
    h = turnedH;
  }
  return {w + shift.X + offset, h + shift.Y + offset};
}

// ---------------------------------------------------------------------------------------
// Painting

void TcxCustomLabelViewInfo::Paint(ICanvas& canvas, const TcxCustomLabel& label) {
  TRect area = ContentRect;
  if (Native) {
    if (auto c = GetThemeBackgroundContentRect(ThemeHandle(tcEdit), nullptr, kEditPart, NativeState, Bounds))
      area = *c;
  }
  const TPoint origin = area.TopLeft();
  if (Transparent && label.IsPaintingCopy()) {
    DrawContent(canvas, area, origin, label);
    return;
  }
  const TPoint position = label.BoundsRect().TopLeft();
  const bool moved = position != CachedAt;
  if (moved) CachedAt = position;
  if (moved || CacheStale || Transparent || !LabelCache) {
    CacheStale = false;
    if (!LabelCache || LabelCache->Width() != area.Width() || LabelCache->Height() != area.Height())
      LabelCache = canvas.CreateBitmap(area.Width(), area.Height());
    ++CacheRenders;
    const int level = LabelCache->Save();
    try {
      DrawContent(*LabelCache, {0, 0, area.Width(), area.Height()}, origin, label);
    } catch (...) {
      // A half-drawn picture is never shown: the next paint starts afresh.
      LabelCache.reset();
      CacheStale = true;
      throw;
    }
    LabelCache->Restore(level);
  }
  canvas.BitBlt(area, *LabelCache, {0, 0}, TRasterOp::roSrcCopy);
}

void TcxCustomLabelViewInfo::DrawTextOnce(ICanvas& canvas, const TRect& a, TPoint q, int theta) const {
  if (Text.empty()) return;
  if (theta != 0) {
    canvas.TextOut(q, ShowAccelChar ? RemoveAccelChars(Text) : Text);
    return;
  }
  TRect r{a.Left, a.Top, a.Right - DepthShift.X, a.Bottom - DepthShift.Y};
  r = r.Offset(q.X, q.Y);
  TTextFlags flags = AlignmentFlags(Alignment, WordWrap);
  if (WordWrap) flags |= dtWordBreak;
  if (!ShowAccelChar) flags |= dtNoPrefix;
  canvas.DrawText(r, Text, flags);
}

void TcxCustomLabelViewInfo::DrawFilled(ICanvas& canvas, const TRect& a, TPoint q, int theta, bool trueType) const {
  const bool canFill = Glyph && Glyph->Width >= 1 && Glyph->Height >= 1 && trueType;
  if (!canFill) {
    if (!(LabelStyle == TcxLabelStyle::cxlsOutLine && trueType)) DrawTextOnce(canvas, a, q, theta);
    return;
  }
  const int level = canvas.Save();
  canvas.BeginPath();
  DrawTextOnce(canvas, a, q, theta);
  canvas.EndPath();
  canvas.SelectClipPath(TClipCombine::ccAnd);
  canvas.SetBrushPattern(*Glyph);
  canvas.FillRect(a);
  canvas.Restore(level);  // the clip goes with it
}

void TcxCustomLabelViewInfo::DrawContent(ICanvas& canvas, const TRect& a, TPoint origin,
                                         const TcxCustomLabel& label) const {
  // 1. Background.
  if (Transparent) {
    if (!label.IsPaintingCopy())
      CaptureParentImage(label, canvas,
                         TRect::FromBounds(a.Left - origin.X, a.Top - origin.Y, label.Width(), label.Height()));
  } else {
    canvas.FillRect(a, BackgroundColor);
  }
  // 2. Font.
  const int theta = SelectLabelFont(canvas, Font, Angle);
  const bool trueType = canvas.FontIsTrueType();
  const int offset = LabelStyleOffset(LabelStyle, FontPointSize(Font, label.ScreenDpi()));
  // 3. Start point and step.
  TPoint p{0, 0};
  if (theta != 0) {
    canvas.SetFont(Font);
    TRect m{0, 0, 0, 0};
    canvas.DrawText(m, Text, dtCalcRect | dtNoPrefix | dtSingleLine);
    SelectLabelFont(canvas, Font, Angle);
    const double w = m.Width(), h = m.Height();
    const TRect r{a.Left, a.Top, a.Right - DepthShift.X, a.Bottom - DepthShift.Y};
    const double t = theta * std::numbers::pi / 180;
    p.X = static_cast<int>(std::nearbyint((r.Left + r.Right) / 2.0 - std::cos(t) * w / 2 - std::sin(t) * h / 2));
    p.Y = static_cast<int>(std::nearbyint((r.Top + r.Bottom) / 2.0 + std::sin(t) * w / 2 - std::cos(t) * h / 2));
  }
  TPoint s{0, 0};
  const bool hasDepth = LabelEffect != TcxLabelEffect::cxleNormal && Depth != 0;
  if (hasDepth) {
    s = DepthShift;
    if (ExtendsRight(Orientation)) {
      p.X += DepthShift.X + offset;
      s.X = -s.X;
    }
    if (ExtendsDown(Orientation)) {
      p.Y += DepthShift.Y + offset;
      s.Y = -s.Y;
    }
    if (LabelEffect != TcxLabelEffect::cxleCool) s = {Sign(s.X), Sign(s.Y)};
  }
  // 4. Text over what is there.
  canvas.SetBackgroundMode(TBackgroundMode::bmTransparent);
  // 5. The depth copies.
  if (hasDepth) {
    const int step = s.X != 0 ? std::abs(s.X) : std::abs(s.Y);
    const int n = step != 0 ? Depth / step : 0;
    const TColor from = canvas.ResolveColor(BackgroundColor), to = canvas.ResolveColor(ShadowedColor);
    for (int i = 1; i <= n; ++i) {
      canvas.SetTextColor(LabelEffect == TcxLabelEffect::cxleFun ? BlendLabelColor(from, to, i, n) : ShadowedColor);
      DrawTextOnce(canvas, a, p, theta);
      p = {p.X + s.X, p.Y + s.Y};
    }
  }
  // 6. Back to where the text itself starts.
  if (s.X < 0) p.X -= offset;
  if (s.Y < 0) p.Y -= offset;
  // 7. The text in its style.
  const bool big = offset == 2;
  const TPoint p11{p.X + 1, p.Y + 1}, p22{p.X + 2, p.Y + 2};
  switch (LabelStyle) {
    case TcxLabelStyle::cxlsNormal:
      canvas.SetTextColor(TextColor);
      DrawFilled(canvas, a, p, theta, trueType);
      break;
    case TcxLabelStyle::cxlsRaised:
      canvas.SetTextColor(clBtnHighlight);
      DrawTextOnce(canvas, a, p, theta);
      if (big) {
        canvas.SetTextColor(clBtnShadow);
        DrawTextOnce(canvas, a, p22, theta);
      }
      canvas.SetTextColor(TextColor);
      DrawFilled(canvas, a, p11, theta, trueType);
      break;
    case TcxLabelStyle::cxlsLowered:
      if (big) {
        canvas.SetTextColor(clBtnShadow);
        DrawTextOnce(canvas, a, p, theta);
      }
      canvas.SetTextColor(clBtnHighlight);
      DrawTextOnce(canvas, a, p22, theta);
      canvas.SetTextColor(TextColor);
      DrawFilled(canvas, a, p11, theta, trueType);
      break;
    case TcxLabelStyle::cxlsOutLine:
      canvas.SetTextColor(TextColor);
      DrawFilled(canvas, a, p, theta, trueType);
      if (trueType) {
        canvas.BeginPath();
        DrawTextOnce(canvas, a, p, theta);
        canvas.EndPath();
        canvas.SetPen(TextColor, PenWidth);
        canvas.StrokePath();
        canvas.SetPen(TextColor, 1);
      }
      break;
  }
  // 8. A solid brush again.
  canvas.SetBrush(BackgroundColor);
}

// ---------------------------------------------------------------------------------------
// The control

TcxCustomLabel::TcxCustomLabel(std::string name, std::unique_ptr<TcxCustomLabelProperties> properties)
    : TcxCustomEdit(std::move(name), std::move(properties)) {
  SetBounds(0, 0, 121, 21);
  SetParentColor(true);
  SetTabStop(false);
}

void TcxCustomLabel::SetCaption(const std::string& caption) {
  m_caption = caption;
  TFlagScope syncing(m_syncingCaption);
  SetEditValue(Variant::FromString(caption));
}

void TcxCustomLabel::StoreEditValue(const Variant& value) {
  TcxCustomEdit::StoreEditValue(value);
  if (!m_syncingCaption) m_caption = VariantToString(value);
}

void TcxCustomLabel::RefreshText() { PutDisplayText(VariantToString(ValueToText(EditValue(), false))); }

void TcxCustomLabel::PutDisplayText(const std::string& text) {
  m_labelViewInfo.Text = text;
  CalculateLayout();
  Invalidate();
}

void TcxCustomLabel::ApplySettings() {
  TcxCustomEdit::ApplySettings();
  CalculateLayout();
  Invalidate();
}

void TcxCustomLabel::FontChanged() {
  TcxCustomEdit::FontChanged();
  CalculateLayout();
  Invalidate();
}

void TcxCustomLabel::SetFocusControl(TWinControl* control) {
  if (control != this) m_focusControl = control;
}

int TcxCustomLabel::ScreenDpi() const {
  IWindowSystem* system = WindowSystem();
  return system ? system->ScreenDpi() : 96;
}

TColor TcxCustomLabel::DefaultStyleColor() const {
  return ParentColor() && Parent() ? Parent()->Color() : clBtnFace;
}

// A label has no look of its own for focus or the pointer, and without a border it
// keeps the classic look: the theme's edit frame would show around bare text.
TcxContainerStyleValues TcxCustomLabel::FrameStyleValues() const {
  TcxContainerStyleValues values = TcxCustomEdit::FrameStyleValues();
  values.BorderStyle = values.MainBorderStyle;
  if (values.MainBorderStyle == TcxContainerBorderStyle::cbsNone) values.NativeStyle = false;
  return values;
}

void TcxCustomLabel::CalculateLayout() {
  CalculateFrame();
  ApplyAutoSize();
  TcxCustomLabelViewData::Calculate(*this, m_labelViewInfo);
}

void TcxCustomLabel::ApplyAutoSize() {
  if (!AutoSize() || m_autoSizing || IsLoading()) return;
  IWindowSystem* system = WindowSystem();
  if (!system) return;
  TFlagScope sizing(m_autoSizing);
  std::unique_ptr<IBitmapCanvas> canvas = system->CreateBitmapCanvas(1, 1);
  const TSize content = TcxCustomLabelViewData::ContentSize(*this, *canvas);
  const int width = content.Width + 4, height = content.Height + 4;
  if (width != Width() || height != Height()) {
    SetBounds(Left(), Top(), width, height);
    CalculateFrame();
  }
}

void TcxCustomLabel::PaintContent(ICanvas& canvas) { m_labelViewInfo.Paint(canvas, *this); }

bool TcxCustomLabel::WantsDialogChar(char16_t ch) {
  if (!m_focusControl || !Enabled() || !Properties().ShowAccelChar()) return false;
  const char32_t accel = AccelCharOf(m_caption);
  const auto lower = [](char32_t c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
  if (accel == 0 || lower(accel) != lower(ch) || !m_focusControl->CanFocus()) return false;
  m_focusControl->SetFocus();
  return true;
}

// The label never takes the focus; a press only reaches the user's handlers.
bool TcxCustomLabel::NativeMouseDown(TMouseButton button, TPoint at, TShiftState shift) {
  bool proceed = true;
  Guarded([&] { proceed = MouseDown(button, at, shift); });
  return proceed;
}

// Any release over the label counts, wherever the press was.
void TcxCustomLabel::MouseUp(TMouseButton button, TPoint at, TShiftState) {
  if (button == TMouseButton::mbLeft && ClientRect().Contains(at) && OnClick) OnClick(*this);
}

TcxLabel::TcxLabel(std::string name) : TcxCustomLabel(std::move(name), std::make_unique<TcxLabelProperties>(this)) {}

}  // namespace vormix
