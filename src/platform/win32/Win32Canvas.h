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

  using ICanvas::DrawText;
  using ICanvas::TextExtent;

  void SetPen(TColor color, int width, TPenStyle style) override;
  void SetBrush(TColor color) override;
  void SetBrushClear() override;
  void SetBrushPattern(const TImage& pattern) override;
  void SetFont(const TFontSpec& font) override;
  const TFontSpec& Font() const override { return m_font; }
  void SetTextColor(TColor color) override;
  TColor TextColor() const override { return m_textColor; }
  void SetBackgroundMode(TBackgroundMode mode) override;
  TColor ResolveColor(TColor color) const override;
  void SetBackgroundColor(TColor color) override;

  int Save() override;
  void Restore(int level) override;
  TPoint WindowOrigin() const override;
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

  void* NativeHandle() const override { return m_dc; }

 private:
  HDC m_dc;
  Win32WindowSystem& m_system;
  int m_savedState;
  TFontSpec m_font;
  TColor m_textColor = clBlack;
};

}  // namespace vormix
