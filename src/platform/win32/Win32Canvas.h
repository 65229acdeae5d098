#pragma once
// The canvas of a window's paint, or of any device context, on GDI: every operation is
// the GDI call of the same name. Pens and brushes made for the canvas live as long as
// it does (a restored state may select an earlier one again); fonts come from the
// window system's cache.
#include <windows.h>

#include <map>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/Canvas.h"

namespace vormix {

class Win32FontCache;
class Win32WindowSystem;

COLORREF ResolveColor(TColor color);

class Win32Canvas : public ICanvas {
 public:
  Win32Canvas(HDC dc, Win32WindowSystem& system);
  Win32Canvas(HDC dc, Win32FontCache& fonts);
  ~Win32Canvas() override;
  Win32Canvas(const Win32Canvas&) = delete;
  Win32Canvas& operator=(const Win32Canvas&) = delete;

  using ICanvas::DrawText;
  using ICanvas::TextExtent;

  void SetPen(TColor color, int width = 1, TPenStyle style = TPenStyle::psSolid) override;
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
  void Restore(int level = -1) override;
  TPoint WindowOrigin() const override;
  TPoint SetWindowOrigin(TPoint origin) override;

  void IntersectClipRect(const TRect& rect) override;
  void ExcludeClipRect(const TRect& rect) override;
  std::optional<TRegion> GetClipRegion() const override;
  void SelectClipRegion(const std::optional<TRegion>& region, TClipCombine combine = TClipCombine::ccCopy) override;
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
  void SelectClipPath(TClipCombine combine = TClipCombine::ccAnd) override;

  std::unique_ptr<IBitmapCanvas> CreateBitmap(int width, int height) override;
  void BitBlt(const TRect& dest, ICanvas& source, TPoint sourceAt, TRasterOp op) override;
  void DrawImage(TPoint at, const TImage& image) override;
  void DrawImageTransparent(TPoint at, const TImage& image, TColor transparent) override;

  void* NativeHandle() const override { return m_dc; }

 private:
  // What GDI keeps in the device context but the canvas answers itself.
  struct TSavedState {
    int Level = 0;
    TFontSpec Font;
    TColor TextColor = clBlack;
  };

  void Select(HGDIOBJ object) { SelectObject(m_dc, object); }

  HDC m_dc;
  Win32FontCache& m_fonts;
  int m_savedState;
  TFontSpec m_font;
  TColor m_textColor = clBlack;
  std::vector<TSavedState> m_saved;
  std::map<std::pair<COLORREF, int>, HPEN> m_pens;
  std::map<COLORREF, HBRUSH> m_brushes;
  std::vector<std::pair<TImage, HBRUSH>> m_patterns;
};

}  // namespace vormix
