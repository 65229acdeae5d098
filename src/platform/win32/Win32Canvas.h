#pragma once
// The canvas of a window's paint, or of any device context, on GDI.
#include <windows.h>

#include "platform/Canvas.h"

namespace vormix {

class Win32WindowSystem;

COLORREF ResolveColor(TColor color);

class Win32Canvas : public ICanvas {
 public:
  Win32Canvas(HDC dc, Win32WindowSystem& system);
  ~Win32Canvas() override;

  void FillRect(const TRect& rect, TColor color) override;
  void DrawText(const TRect& rect, std::string_view text, const TFontSpec& font, TTextFlags flags) override;
  TSize TextExtent(std::string_view text, const TFontSpec& font) override;

 private:
  HDC m_dc;
  Win32WindowSystem& m_system;
  int m_savedState;
};

}  // namespace vormix
