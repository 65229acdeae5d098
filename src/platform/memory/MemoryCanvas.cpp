#include "platform/memory/MemoryCanvas.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace vormix {

TColor MemorySystemColor(int index) {
  static constexpr TColor kColors[] = {
      0xC8C8C8, 0x000000, 0xD1B499, 0xDBCDBF, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
      0x000000, 0x000000, 0xB4B4B4, 0xFCF7F4, 0xABABAB, 0xFF9933, 0xFFFFFF, 0xF0F0F0,
      0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
      0xE1FFFF, 0x000000, 0xCC6600, 0xEAD1B9, 0xF2E4D7, 0xFF9933, 0xF0F0F0};
  if (index < 0 || index >= static_cast<int>(std::size(kColors))) return 0;
  return kColors[index];
}

TColor ResolveMemoryColor(TColor color) {
  return IsSystemColor(color) ? MemorySystemColor(SystemColorIndex(color)) : (color & 0xFFFFFF);
}

MemoryCanvas::MemoryCanvas(int width, int height, TColor background) {
  Resize(width, height, background);
}

void MemoryCanvas::Resize(int width, int height, TColor background) {
  m_width = std::max(width, 0);
  m_height = std::max(height, 0);
  m_pixels.assign(static_cast<std::size_t>(m_width) * m_height, ResolveMemoryColor(background));
  m_texts.clear();
}

TColor MemoryCanvas::ResolveColor(TColor color) const { return ResolveMemoryColor(color); }

// Interim: the raster operations beyond solid rectangles arrive with the full canvas.
void MemoryCanvas::SetPen(TColor, int, TPenStyle) {}
void MemoryCanvas::SetBrush(TColor) {}
void MemoryCanvas::SetBrushClear() {}
void MemoryCanvas::SetBrushPattern(const TImage&) {}
void MemoryCanvas::SetFont(const TFontSpec& font) { m_font = font; }
int MemoryCanvas::Save() { return 1; }
void MemoryCanvas::Restore(int) {}
TPoint MemoryCanvas::SetWindowOrigin(TPoint origin) { return std::exchange(m_origin, origin); }
void MemoryCanvas::IntersectClipRect(const TRect&) {}
void MemoryCanvas::ExcludeClipRect(const TRect&) {}
std::optional<TRegion> MemoryCanvas::GetClipRegion() const { return std::nullopt; }
void MemoryCanvas::SelectClipRegion(const std::optional<TRegion>&, TClipCombine) {}
bool MemoryCanvas::RectVisible(const TRect&) const { return true; }
void MemoryCanvas::FillRect(const TRect&) {}
void MemoryCanvas::Rectangle(const TRect&) {}
void MemoryCanvas::MoveTo(TPoint) {}
void MemoryCanvas::LineTo(TPoint) {}
void MemoryCanvas::Polyline(std::span<const TPoint>) {}
void MemoryCanvas::Polygon(std::span<const TPoint>) {}
void MemoryCanvas::SetPixel(TPoint, TColor) {}
void MemoryCanvas::DrawEdge(const TRect&, TEdgeFlags, TEdgeSides) {}
void MemoryCanvas::DrawFocusRect(const TRect&) {}
void MemoryCanvas::DrawScrollArrow(const TRect&, TFrameControlState) {}
void MemoryCanvas::TextOut(TPoint, std::string_view) {}
bool MemoryCanvas::FontIsTrueType() { return true; }
void MemoryCanvas::BeginPath() {}
void MemoryCanvas::EndPath() {}
void MemoryCanvas::StrokePath() {}
void MemoryCanvas::FillPath() {}
void MemoryCanvas::SelectClipPath(TClipCombine) {}
std::unique_ptr<IBitmapCanvas> MemoryCanvas::CreateBitmap(int width, int height) {
  return std::make_unique<MemoryCanvas>(width, height, clBlack);
}
void MemoryCanvas::BitBlt(const TRect&, ICanvas&, TPoint, TRasterOp) {}
void MemoryCanvas::DrawImage(TPoint, const TImage&) {}
void MemoryCanvas::DrawImageTransparent(TPoint, const TImage&, TColor) {}
TImage MemoryCanvas::Image() const {
  TImage image(m_width, m_height);
  image.Pixels = m_pixels;
  return image;
}

void MemoryCanvas::FillRect(const TRect& rect, TColor color) {
  if (color == clNone) return;
  const TColor rgb = ResolveMemoryColor(color);
  const int left = std::max(rect.Left, 0), right = std::min(rect.Right, m_width);
  const int top = std::max(rect.Top, 0), bottom = std::min(rect.Bottom, m_height);
  for (int y = top; y < bottom; ++y)
    std::fill_n(m_pixels.begin() + static_cast<std::ptrdiff_t>(y) * m_width + left,
                std::max(right - left, 0), rgb);
}

int MemoryCanvas::DrawText(TRect& rect, std::string_view text, TTextFlags flags) {
  TFontSpec font = m_font;
  font.Color = m_textColor;
  m_texts.push_back({rect, std::string(text), font, flags});
  return std::abs(m_font.Height);
}

TSize MemoryCanvas::TextExtent(std::string_view text) {
  const int height = std::abs(m_font.Height);
  int width = 0;
  for (unsigned char c : text) {
    if (c < 0x80) width += height / 2;
    else if (c >= 0xC0) width += height;  // a lead byte stands for one wide character
  }
  return {width, height};
}

TColor MemoryCanvas::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= m_width || y >= m_height) return clNone;
  return m_pixels[static_cast<std::size_t>(y) * m_width + x];
}

}  // namespace vormix
