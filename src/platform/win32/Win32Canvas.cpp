#include "platform/win32/Win32Canvas.h"

#include "platform/win32/Win32BitmapCanvas.h"
#include "platform/win32/Win32Fonts.h"
#include "platform/win32/Win32Regions.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/Win32WindowSystem.h"

namespace vormix {

namespace {

RECT ToRect(const TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

std::vector<POINT> ToPoints(std::span<const TPoint> points) {
  std::vector<POINT> native;
  native.reserve(points.size());
  for (const TPoint& p : points) native.push_back({p.X, p.Y});
  return native;
}

int ClipMode(TClipCombine combine) {
  switch (combine) {
    case TClipCombine::ccAnd:
      return RGN_AND;
    case TClipCombine::ccOr:
      return RGN_OR;
    case TClipCombine::ccDiff:
      return RGN_DIFF;
    case TClipCombine::ccXor:
      return RGN_XOR;
    case TClipCombine::ccCopy:
      break;
  }
  return RGN_COPY;
}

bool UsesSource(std::uint32_t rop) { return ((rop >> 2) & 0x330000) != (rop & 0x330000); }

}  // namespace

COLORREF ResolveColor(TColor color) {
  if (IsSystemColor(color)) return GetSysColor(SystemColorIndex(color));
  return static_cast<COLORREF>(color & 0xFFFFFF);
}

Win32Canvas::Win32Canvas(HDC dc, Win32WindowSystem& system) : Win32Canvas(dc, system.Fonts()) {}

Win32Canvas::Win32Canvas(HDC dc, Win32FontCache& fonts)
    : m_dc(dc), m_fonts(fonts), m_savedState(SaveDC(dc)), m_textColor(GetTextColor(dc)) {}

Win32Canvas::~Win32Canvas() {
  RestoreDC(m_dc, m_savedState);
  for (auto& [key, pen] : m_pens) DeleteObject(pen);
  for (auto& [key, brush] : m_brushes) DeleteObject(brush);
  for (auto& [pattern, brush] : m_patterns) DeleteObject(brush);
}

TColor Win32Canvas::ResolveColor(TColor color) const { return vormix::ResolveColor(color); }

// ---- objects ----

void Win32Canvas::SetPen(TColor color, int width, TPenStyle style) {
  if (style == TPenStyle::psClear || color == clNone) return Select(GetStockObject(NULL_PEN));
  const auto key = std::make_pair(vormix::ResolveColor(color), width < 1 ? 1 : width);
  auto found = m_pens.find(key);
  if (found == m_pens.end()) found = m_pens.emplace(key, CreatePen(PS_SOLID, key.second, key.first)).first;
  Select(found->second);
}

void Win32Canvas::SetBrush(TColor color) {
  if (color == clNone) return SetBrushClear();
  const COLORREF rgb = vormix::ResolveColor(color);
  auto found = m_brushes.find(rgb);
  if (found == m_brushes.end()) found = m_brushes.emplace(rgb, CreateSolidBrush(rgb)).first;
  Select(found->second);
}

void Win32Canvas::SetBrushClear() { Select(GetStockObject(NULL_BRUSH)); }

// A packed 32-bit top-down DIB: the pattern keeps its colours whatever the device's
// depth, and GDI anchors it at the brush origin, device pixel (0, 0).
void Win32Canvas::SetBrushPattern(const TImage& pattern) {
  if (pattern.IsEmpty()) return SetBrushClear();
  for (const auto& [known, brush] : m_patterns)
    if (known == pattern) return Select(brush);
  std::vector<std::uint32_t> packed(sizeof(BITMAPINFOHEADER) / 4 + pattern.Pixels.size());
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(packed.data());
  header->biSize = sizeof(BITMAPINFOHEADER);
  header->biWidth = pattern.Width;
  header->biHeight = -pattern.Height;
  header->biPlanes = 1;
  header->biBitCount = 32;
  header->biCompression = BI_RGB;
  std::uint32_t* bits = packed.data() + sizeof(BITMAPINFOHEADER) / 4;
  for (std::size_t i = 0; i < pattern.Pixels.size(); ++i) {
    const COLORREF c = vormix::ResolveColor(pattern.Pixels[i]);
    bits[i] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
  }
  HBRUSH brush = CreateDIBPatternBrushPt(packed.data(), DIB_RGB_COLORS);
  m_patterns.emplace_back(pattern, brush);
  Select(brush);
}

void Win32Canvas::SetFont(const TFontSpec& font) {
  m_font = font;
  Select(m_fonts.FontFor(font));
}

void Win32Canvas::SetTextColor(TColor color) {
  m_textColor = color;
  ::SetTextColor(m_dc, vormix::ResolveColor(color));
}

void Win32Canvas::SetBackgroundMode(TBackgroundMode mode) {
  SetBkMode(m_dc, mode == TBackgroundMode::bmTransparent ? TRANSPARENT : OPAQUE);
}

void Win32Canvas::SetBackgroundColor(TColor color) { SetBkColor(m_dc, vormix::ResolveColor(color)); }

// ---- state ----

int Win32Canvas::Save() {
  const int level = SaveDC(m_dc);
  if (level > 0) m_saved.push_back({level, m_font, m_textColor});
  return level;
}

// Only states this canvas saved can be restored: the state the canvas began with (its
// own save of the device context) is never given away.
void Win32Canvas::Restore(int level) {
  const int count = static_cast<int>(m_saved.size());
  int index = count + level;  // a negative level counts back from the latest save
  if (level > 0) {
    index = -1;
    for (int i = 0; i < count; ++i)
      if (m_saved[static_cast<std::size_t>(i)].Level == level) index = i;
  }
  if (level == 0 || index < 0 || index >= count) return;
  const TSavedState& saved = m_saved[static_cast<std::size_t>(index)];
  if (!RestoreDC(m_dc, saved.Level)) return;
  m_font = saved.Font;
  m_textColor = saved.TextColor;
  m_saved.resize(static_cast<std::size_t>(index));
}

TPoint Win32Canvas::WindowOrigin() const {
  POINT p{};
  GetWindowOrgEx(m_dc, &p);
  return {p.x, p.y};
}

TPoint Win32Canvas::SetWindowOrigin(TPoint origin) {
  POINT previous{};
  SetWindowOrgEx(m_dc, origin.X, origin.Y, &previous);
  return {previous.x, previous.y};
}

// ---- clipping ----

void Win32Canvas::IntersectClipRect(const TRect& r) { ::IntersectClipRect(m_dc, r.Left, r.Top, r.Right, r.Bottom); }

void Win32Canvas::ExcludeClipRect(const TRect& r) { ::ExcludeClipRect(m_dc, r.Left, r.Top, r.Right, r.Bottom); }

std::optional<TRegion> Win32Canvas::GetClipRegion() const {
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  std::optional<TRegion> clip;
  if (GetClipRgn(m_dc, region) == 1) clip = RegionFromNative(region);
  DeleteObject(region);
  return clip;
}

void Win32Canvas::SelectClipRegion(const std::optional<TRegion>& region, TClipCombine combine) {
  if (!region) {
    if (combine == TClipCombine::ccCopy) SelectClipRgn(m_dc, nullptr);
    return;
  }
  HRGN native = CreateNativeRegion(*region);
  ExtSelectClipRgn(m_dc, native, ClipMode(combine));
  DeleteObject(native);
}

bool Win32Canvas::RectVisible(const TRect& rect) const {
  const RECT r = ToRect(rect);
  return ::RectVisible(m_dc, &r) != FALSE;
}

// ---- areas and lines ----

void Win32Canvas::FillRect(const TRect& rect, TColor color) {
  if (color == clNone) return;
  const RECT r = ToRect(rect);
  SetDCBrushColor(m_dc, vormix::ResolveColor(color));
  ::FillRect(m_dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void Win32Canvas::FillRect(const TRect& rect) {
  const RECT r = ToRect(rect);
  ::FillRect(m_dc, &r, static_cast<HBRUSH>(GetCurrentObject(m_dc, OBJ_BRUSH)));
}

void Win32Canvas::Rectangle(const TRect& r) { ::Rectangle(m_dc, r.Left, r.Top, r.Right, r.Bottom); }

void Win32Canvas::MoveTo(TPoint p) { MoveToEx(m_dc, p.X, p.Y, nullptr); }

void Win32Canvas::LineTo(TPoint p) { ::LineTo(m_dc, p.X, p.Y); }

void Win32Canvas::Polyline(std::span<const TPoint> points) {
  const std::vector<POINT> native = ToPoints(points);
  if (native.size() >= 2) ::Polyline(m_dc, native.data(), static_cast<int>(native.size()));
}

void Win32Canvas::Polygon(std::span<const TPoint> points) {
  const std::vector<POINT> native = ToPoints(points);
  if (native.size() >= 2) ::Polygon(m_dc, native.data(), static_cast<int>(native.size()));
}

void Win32Canvas::SetPixel(TPoint p, TColor color) {
  if (color != clNone) SetPixelV(m_dc, p.X, p.Y, vormix::ResolveColor(color));
}

// ---- the system's frame pieces ----

void Win32Canvas::DrawEdge(const TRect& rect, TEdgeFlags edge, TEdgeSides sides) {
  RECT r = ToRect(rect);
  ::DrawEdge(m_dc, &r, edge, sides);
}

void Win32Canvas::DrawFocusRect(const TRect& rect) {
  const RECT r = ToRect(rect);
  ::DrawFocusRect(m_dc, &r);
}

void Win32Canvas::DrawScrollArrow(const TRect& rect, TFrameControlState state) {
  RECT r = ToRect(rect);
  DrawFrameControl(m_dc, &r, DFC_SCROLL, state);
}

// ---- text ----

void Win32Canvas::TextOut(TPoint at, std::string_view text) {
  const std::wstring wide = Widen(text);
  ::TextOutW(m_dc, at.X, at.Y, wide.c_str(), static_cast<int>(wide.size()));
}

int Win32Canvas::DrawText(TRect& rect, std::string_view text, TTextFlags flags) {
  const std::wstring wide = Widen(text);
  RECT r = ToRect(rect);
  const int height = ::DrawTextW(m_dc, wide.c_str(), static_cast<int>(wide.size()), &r, flags);
  rect = {r.left, r.top, r.right, r.bottom};
  return height;
}

TSize Win32Canvas::TextExtent(std::string_view text) {
  const std::wstring wide = Widen(text);
  SIZE size{};
  GetTextExtentPoint32W(m_dc, wide.c_str(), static_cast<int>(wide.size()), &size);
  return {size.cx, size.cy};
}

bool Win32Canvas::FontIsTrueType() {
  TEXTMETRICW metrics{};
  return GetTextMetricsW(m_dc, &metrics) && (metrics.tmPitchAndFamily & TMPF_TRUETYPE);
}

// ---- paths ----

void Win32Canvas::BeginPath() { ::BeginPath(m_dc); }
void Win32Canvas::EndPath() { ::EndPath(m_dc); }
void Win32Canvas::StrokePath() { ::StrokePath(m_dc); }
void Win32Canvas::FillPath() { ::FillPath(m_dc); }
void Win32Canvas::SelectClipPath(TClipCombine combine) { ::SelectClipPath(m_dc, ClipMode(combine)); }

// ---- bitmaps ----

std::unique_ptr<IBitmapCanvas> Win32Canvas::CreateBitmap(int width, int height) {
  return std::make_unique<Win32BitmapCanvas>(width, height, m_fonts);
}

void Win32Canvas::BitBlt(const TRect& dest, ICanvas& source, TPoint sourceAt, TRasterOp op) {
  const auto rop = static_cast<DWORD>(op);
  if (dest.Width() <= 0 || dest.Height() <= 0) return;
  HDC from = UsesSource(rop) ? static_cast<HDC>(source.NativeHandle()) : nullptr;
  if (UsesSource(rop) && !from) return;
  ::BitBlt(m_dc, dest.Left, dest.Top, dest.Width(), dest.Height(), from, sourceAt.X, sourceAt.Y, rop);
}

void Win32Canvas::DrawImage(TPoint at, const TImage& image) {
  if (image.IsEmpty()) return;
  Win32Dib picture(image.Width, image.Height);
  picture.Write(image);
  ::BitBlt(m_dc, at.X, at.Y, image.Width, image.Height, picture.Dc(), 0, 0, SRCCOPY);
}

void Win32Canvas::DrawImageTransparent(TPoint at, const TImage& image, TColor transparent) {
  if (image.IsEmpty()) return;
  Win32Dib picture(image.Width, image.Height);
  picture.Write(image);
  TransparentBlt(m_dc, at.X, at.Y, image.Width, image.Height, picture.Dc(), 0, 0, image.Width, image.Height,
                 vormix::ResolveColor(transparent));
}

}  // namespace vormix
