#pragma once
// A raster canvas over a 32-bit pixel buffer. Rectangles are exact to the pixel; text
// is not rasterised but recorded, and measured with simple fixed metrics: a character
// below 0x80 is half the font height wide, any other character a full height.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Canvas.h"

namespace vormix {

// The system colours the memory adapters answer (the classic Windows scheme).
TColor MemorySystemColor(int index);
TColor ResolveMemoryColor(TColor color);  // system colours to RGB; RGB unchanged

struct TDrawnText {
  TRect Rect;
  std::string Text;
  TFontSpec Font;
  TTextFlags Flags = 0;
};

class MemoryCanvas : public ICanvas {
 public:
  MemoryCanvas(int width, int height, TColor background = 0xFFFFFF);

  void FillRect(const TRect& rect, TColor color) override;
  void DrawText(const TRect& rect, std::string_view text, const TFontSpec& font,
                TTextFlags flags) override;
  TSize TextExtent(std::string_view text, const TFontSpec& font) override;

  int Width() const { return m_width; }
  int Height() const { return m_height; }
  TColor Pixel(int x, int y) const;  // RGB 0x00BBGGRR; outside the buffer: clNone
  const std::vector<TDrawnText>& Texts() const { return m_texts; }
  void Resize(int width, int height, TColor background = 0xFFFFFF);

 private:
  int m_width = 0;
  int m_height = 0;
  std::vector<TColor> m_pixels;
  std::vector<TDrawnText> m_texts;
};

}  // namespace vormix
