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

class MemoryCanvas : public IBitmapCanvas {
 public:
  MemoryCanvas(int width, int height, TColor background = 0xFFFFFF);

  using ICanvas::DrawText;
  using ICanvas::TextExtent;

  void SetPen(TColor color, int width, TPenStyle style) override;
  void SetBrush(TColor color) override;
  void SetBrushClear() override;
  void SetBrushPattern(const TImage& pattern) override;
  void SetFont(const TFontSpec& font) override;
  const TFontSpec& Font() const override { return m_font; }
  void SetTextColor(TColor color) override { m_textColor = color; }
  TColor TextColor() const override { return m_textColor; }
  void SetBackgroundMode(TBackgroundMode mode) override { m_backgroundMode = mode; }
  TColor ResolveColor(TColor color) const override;
  void SetBackgroundColor(TColor color) override { m_backgroundColor = color; }

  int Save() override;
  void Restore(int level) override;
  TPoint WindowOrigin() const override { return m_origin; }
  TPoint SetWindowOrigin(TPoint origin) override;

  void IntersectClipRect(const TRect& rect) override;
  void ExcludeClipRect(const TRect& rect) override;
  std::optional<TRegion> GetClipRegion() const override;
  void SelectClipRegion(const std::optional<TRegion>& region, TClipCombine combine) override;
  bool RectVisible(const TRect& rect) const override;

  void FillRect(const TRect& rect, TColor color) override;
  void FillRect(const TRect& rect) override;
  void Rectangle(const TRect& rect) override;
  void MoveTo(TPoint p) override;
  void LineTo(TPoint p) override;
  void Polyline(std::span<const TPoint> points) override;
  void Polygon(std::span<const TPoint> points) override;
  void SetPixel(TPoint p, TColor color) override;

  void DrawEdge(const TRect& rect, TEdgeFlags edge, TEdgeSides sides) override;
  void DrawFocusRect(const TRect& rect) override;
  void DrawScrollArrow(const TRect& rect, TFrameControlState state) override;

  void TextOut(TPoint at, std::string_view text) override;
  int DrawText(TRect& rect, std::string_view text, TTextFlags flags) override;
  TSize TextExtent(std::string_view text) override;
  bool FontIsTrueType() override;

  void BeginPath() override;
  void EndPath() override;
  void StrokePath() override;
  void FillPath() override;
  void SelectClipPath(TClipCombine combine) override;

  std::unique_ptr<IBitmapCanvas> CreateBitmap(int width, int height) override;
  void BitBlt(const TRect& dest, ICanvas& source, TPoint sourceAt, TRasterOp op) override;
  void DrawImage(TPoint at, const TImage& image) override;
  void DrawImageTransparent(TPoint at, const TImage& image, TColor transparent) override;

  int Width() const override { return m_width; }
  int Height() const override { return m_height; }
  TImage Image() const override;

  TColor Pixel(int x, int y) const;  // RGB 0x00BBGGRR; outside the buffer: clNone
  const std::vector<TDrawnText>& Texts() const { return m_texts; }
  void Resize(int width, int height, TColor background = 0xFFFFFF);

 private:
  int m_width = 0;
  int m_height = 0;
  std::vector<TColor> m_pixels;
  std::vector<TDrawnText> m_texts;
  TFontSpec m_font;
  TColor m_textColor = clBlack;
  TBackgroundMode m_backgroundMode = TBackgroundMode::bmOpaque;
  TColor m_backgroundColor = clWhite;
  TPoint m_origin;
};

}  // namespace vormix
