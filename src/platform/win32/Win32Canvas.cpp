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

void Win32Canvas::FillRect(const TRect& rect, TColor color) {
  if (color == clNone) return;
  const RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
  SetDCBrushColor(m_dc, ResolveColor(color));
  ::FillRect(m_dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void Win32Canvas::DrawText(const TRect& rect, std::string_view text, const TFontSpec& font, TTextFlags flags) {
  const std::wstring wide = Widen(text);
  RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
  SelectObject(m_dc, m_system.FontFor(font));
  SetTextColor(m_dc, ResolveColor(font.Color));
  SetBkMode(m_dc, TRANSPARENT);
  UINT format = DT_NOPREFIX | DT_EXPANDTABS;
  if (flags & tfCenter) format |= DT_CENTER;
  if (flags & tfRight) format |= DT_RIGHT;
  if (flags & tfVCenter) format |= DT_VCENTER | DT_SINGLELINE;
  if (flags & tfSingleLine) format |= DT_SINGLELINE;
  if (flags & tfNoClip) format |= DT_NOCLIP;
  ::DrawTextW(m_dc, wide.c_str(), static_cast<int>(wide.size()), &r, format);
}

TSize Win32Canvas::TextExtent(std::string_view text, const TFontSpec& font) {
  const std::wstring wide = Widen(text);
  SelectObject(m_dc, m_system.FontFor(font));
  SIZE size{};
  GetTextExtentPoint32W(m_dc, wide.c_str(), static_cast<int>(wide.size()), &size);
  return {size.cx, size.cy};
}

}  // namespace vormix
