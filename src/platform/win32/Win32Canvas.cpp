#include "platform/win32/Win32Canvas.h"

#include "platform/win32/Win32Text.h"
#include "platform/win32/Win32WindowSystem.h"

namespace vormix {

COLORREF ResolveColor(TColor color) {
  if (IsSystemColor(color)) return GetSysColor(SystemColorIndex(color));
  return static_cast<COLORREF>(color & 0xFFFFFF);
}

Win32Canvas::Win32Canvas(HDC dc, Win32WindowSystem& system)
    : m_dc(dc), m_system(system), m_savedState(SaveDC(dc)) {}

Win32Canvas::~Win32Canvas() { RestoreDC(m_dc, m_savedState); }

TColor Win32Canvas::ResolveColor(TColor color) const { return vormix::ResolveColor(color); }

// Interim: the GDI translation of the remaining operations arrives with the full canvas.
void Win32Canvas::SetPen(TColor, int, TPenStyle) {}
void Win32Canvas::SetBrush(TColor) {}
void Win32Canvas::SetBrushClear() {}
void Win32Canvas::SetBrushPattern(const TImage&) {}
void Win32Canvas::SetFont(const TFontSpec& font) {
  m_font = font;
  SelectObject(m_dc, m_system.FontFor(font));
}
void Win32Canvas::SetTextColor(TColor color) {
  m_textColor = color;
  ::SetTextColor(m_dc, ResolveColor(color));
}
void Win32Canvas::SetBackgroundMode(TBackgroundMode mode) {
  SetBkMode(m_dc, mode == TBackgroundMode::bmTransparent ? TRANSPARENT : OPAQUE);
}
void Win32Canvas::SetBackgroundColor(TColor color) { SetBkColor(m_dc, ResolveColor(color)); }
int Win32Canvas::Save() { return SaveDC(m_dc); }
void Win32Canvas::Restore(int level) { RestoreDC(m_dc, level); }
TPoint Win32Canvas::WindowOrigin() const { return {}; }
TPoint Win32Canvas::SetWindowOrigin(TPoint) { return {}; }
void Win32Canvas::IntersectClipRect(const TRect&) {}
void Win32Canvas::ExcludeClipRect(const TRect&) {}
std::optional<TRegion> Win32Canvas::GetClipRegion() const { return std::nullopt; }
void Win32Canvas::SelectClipRegion(const std::optional<TRegion>&, TClipCombine) {}
bool Win32Canvas::RectVisible(const TRect&) const { return true; }
void Win32Canvas::FillRect(const TRect&) {}
void Win32Canvas::Rectangle(const TRect&) {}
void Win32Canvas::MoveTo(TPoint) {}
void Win32Canvas::LineTo(TPoint) {}
void Win32Canvas::Polyline(std::span<const TPoint>) {}
void Win32Canvas::Polygon(std::span<const TPoint>) {}
void Win32Canvas::SetPixel(TPoint, TColor) {}
void Win32Canvas::DrawEdge(const TRect&, TEdgeFlags, TEdgeSides) {}
void Win32Canvas::DrawFocusRect(const TRect&) {}
void Win32Canvas::DrawScrollArrow(const TRect&, TFrameControlState) {}
void Win32Canvas::TextOut(TPoint, std::string_view) {}
bool Win32Canvas::FontIsTrueType() { return true; }
void Win32Canvas::BeginPath() {}
void Win32Canvas::EndPath() {}
void Win32Canvas::StrokePath() {}
void Win32Canvas::FillPath() {}
void Win32Canvas::SelectClipPath(TClipCombine) {}
std::unique_ptr<IBitmapCanvas> Win32Canvas::CreateBitmap(int, int) { return nullptr; }
void Win32Canvas::BitBlt(const TRect&, ICanvas&, TPoint, TRasterOp) {}
void Win32Canvas::DrawImage(TPoint, const TImage&) {}
void Win32Canvas::DrawImageTransparent(TPoint, const TImage&, TColor) {}

void Win32Canvas::FillRect(const TRect& rect, TColor color) {
  if (color == clNone) return;
  const RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
  SetDCBrushColor(m_dc, ResolveColor(color));
  ::FillRect(m_dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

int Win32Canvas::DrawText(TRect& rect, std::string_view text, TTextFlags flags) {
  const std::wstring wide = Widen(text);
  RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
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

}  // namespace vormix
