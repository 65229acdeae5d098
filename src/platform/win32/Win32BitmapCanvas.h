#pragma once
// Off-screen pictures on GDI: a 32-bit top-down DIB section selected into a memory
// device context, drawn on through a Win32Canvas over that context.
#include <windows.h>

#include <cstdint>

#include "platform/win32/Win32Canvas.h"

namespace vormix {

// A memory device context with a DIB section of its own, every pixel black at first.
class Win32Dib {
 public:
  Win32Dib(int width, int height);
  ~Win32Dib();
  Win32Dib(const Win32Dib&) = delete;
  Win32Dib& operator=(const Win32Dib&) = delete;

  HDC Dc() const { return m_dc; }
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  TImage Read() const;              // RGB 0x00BBGGRR, as the program stores colours
  void Write(const TImage& image);  // system colours resolved now

 private:
  int m_width = 0;
  int m_height = 0;
  HDC m_dc = nullptr;
  HBITMAP m_bitmap = nullptr;
  HGDIOBJ m_previous = nullptr;
  std::uint32_t* m_bits = nullptr;  // 0x00RRGGBB, row by row from the top
};

class Win32BitmapCanvas : public IBitmapCanvas {
 public:
  Win32BitmapCanvas(int width, int height, Win32FontCache& fonts);

  using ICanvas::DrawText;
  using ICanvas::TextExtent;

  int Width() const override { return m_surface.Width(); }
  int Height() const override { return m_surface.Height(); }
  TImage Image() const override { return m_surface.Read(); }

  void SetPen(TColor color, int width = 1, TPenStyle style = TPenStyle::psSolid) override {
    m_canvas.SetPen(color, width, style);
  }
  void SetBrush(TColor color) override { m_canvas.SetBrush(color); }
  void SetBrushClear() override { m_canvas.SetBrushClear(); }
  void SetBrushPattern(const TImage& pattern) override { m_canvas.SetBrushPattern(pattern); }
  void SetFont(const TFontSpec& font) override { m_canvas.SetFont(font); }
  const TFontSpec& Font() const override { return m_canvas.Font(); }
  void SetTextColor(TColor color) override { m_canvas.SetTextColor(color); }
  TColor TextColor() const override { return m_canvas.TextColor(); }
  void SetBackgroundMode(TBackgroundMode mode) override { m_canvas.SetBackgroundMode(mode); }
  void SetBackgroundColor(TColor color) override { m_canvas.SetBackgroundColor(color); }
  TColor ResolveColor(TColor color) const override { return m_canvas.ResolveColor(color); }

  int Save() override { return m_canvas.Save(); }
  void Restore(int level = -1) override { m_canvas.Restore(level); }
  TPoint WindowOrigin() const override { return m_canvas.WindowOrigin(); }
  TPoint SetWindowOrigin(TPoint origin) override { return m_canvas.SetWindowOrigin(origin); }

  void IntersectClipRect(const TRect& rect) override { m_canvas.IntersectClipRect(rect); }
  void ExcludeClipRect(const TRect& rect) override { m_canvas.ExcludeClipRect(rect); }
  std::optional<TRegion> GetClipRegion() const override { return m_canvas.GetClipRegion(); }
  void SelectClipRegion(const std::optional<TRegion>& region, TClipCombine combine = TClipCombine::ccCopy) override {
    m_canvas.SelectClipRegion(region, combine);
  }
  bool RectVisible(const TRect& rect) const override { return m_canvas.RectVisible(rect); }

  void FillRect(const TRect& rect, TColor color) override { m_canvas.FillRect(rect, color); }
  void FillRect(const TRect& rect) override { m_canvas.FillRect(rect); }
  void Rectangle(const TRect& rect) override { m_canvas.Rectangle(rect); }
  void MoveTo(TPoint p) override { m_canvas.MoveTo(p); }
  void LineTo(TPoint p) override { m_canvas.LineTo(p); }
  void Polyline(std::span<const TPoint> points) override { m_canvas.Polyline(points); }
  void Polygon(std::span<const TPoint> points) override { m_canvas.Polygon(points); }
  void SetPixel(TPoint p, TColor color) override { m_canvas.SetPixel(p, color); }

  void DrawEdge(const TRect& rect, TEdgeFlags edge, TEdgeSides sides) override { m_canvas.DrawEdge(rect, edge, sides); }
  void DrawFocusRect(const TRect& rect) override { m_canvas.DrawFocusRect(rect); }
  void DrawScrollArrow(const TRect& rect, TFrameControlState state) override { m_canvas.DrawScrollArrow(rect, state); }

  void TextOut(TPoint at, std::string_view text) override { m_canvas.TextOut(at, text); }
  int DrawText(TRect& rect, std::string_view text, TTextFlags flags) override {
    return m_canvas.DrawText(rect, text, flags);
  }
  TSize TextExtent(std::string_view text) override { return m_canvas.TextExtent(text); }
  bool FontIsTrueType() override { return m_canvas.FontIsTrueType(); }

  void BeginPath() override { m_canvas.BeginPath(); }
  void EndPath() override { m_canvas.EndPath(); }
  void StrokePath() override { m_canvas.StrokePath(); }
  void FillPath() override { m_canvas.FillPath(); }
  void SelectClipPath(TClipCombine combine = TClipCombine::ccAnd) override { m_canvas.SelectClipPath(combine); }

  std::unique_ptr<IBitmapCanvas> CreateBitmap(int width, int height) override {
    return m_canvas.CreateBitmap(width, height);
  }
  void BitBlt(const TRect& dest, ICanvas& source, TPoint sourceAt, TRasterOp op) override {
    m_canvas.BitBlt(dest, source, sourceAt, op);
  }
  void DrawImage(TPoint at, const TImage& image) override { m_canvas.DrawImage(at, image); }
  void DrawImageTransparent(TPoint at, const TImage& image, TColor transparent) override {
    m_canvas.DrawImageTransparent(at, image, transparent);
  }

  void* NativeHandle() const override { return m_canvas.NativeHandle(); }

 private:
  Win32Dib m_surface;
  Win32Canvas m_canvas;  // after the surface: it lets go of the context first
};

}  // namespace vormix
