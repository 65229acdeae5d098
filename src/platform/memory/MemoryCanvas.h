#pragma once
// A raster canvas over a 32-bit pixel buffer with the pixel semantics of a GDI device
// context on a bitmap: everything that is not text lands on exactly the pixels Windows
// sets (a differential test under Wine holds it to that).
//
// Text is not rasterised as glyph shapes. Each character gets a cell of fixed size (see
// MemoryText.h: below U+0080 |Height| / 2 wide, otherwise |Height| wide, |Height| high)
// and is drawn as a solid block of the text colour filling its cell less the cell's
// last column and last row; spaces and control characters draw nothing. An opaque
// background fills the whole cells with the background colour first. An underlined
// font, and the accelerator character of DrawText, fill the cell's last row; a
// struck-out font fills the row at half the cell height. Escapement rotates the cells
// counter-clockwise about the reference point (the top-left corner of the text, or of
// each DrawText line): exact for multiples of 90 degrees, corners rounded to pixels for
// other angles. Text drawn between BeginPath and EndPath adds the outline of each
// block to the path instead.
//
// The scroll arrow of DrawScrollArrow is a triangle (see there); the system draws it as
// a glyph of its symbol font, whose shape the memory canvas does not imitate.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Canvas.h"
#include "platform/memory/MemoryText.h"

namespace vormix {

// The system colours the memory adapters answer; tests may load another scheme.
inline constexpr int kMemorySystemColorCount = 31;
TColor MemorySystemColor(int index);
void SetMemorySystemColor(int index, TColor rgb);
TColor ResolveMemoryColor(TColor color);  // system colours to RGB; RGB unchanged

// Puts the memory system colours back as they were when the scope was entered.
class TMemorySystemColorScope {
 public:
  TMemorySystemColorScope();
  ~TMemorySystemColorScope();
  TMemorySystemColorScope(const TMemorySystemColorScope&) = delete;
  TMemorySystemColorScope& operator=(const TMemorySystemColorScope&) = delete;

 private:
  std::array<TColor, kMemorySystemColorCount> m_saved{};
};

struct TDrawnText {
  TRect Rect;  // DrawText: the rectangle given; TextOut: the text's extent at its point
  std::string Text;
  TFontSpec Font;  // Color is the text colour the text was drawn in
  TTextFlags Flags = 0;
  bool AtPoint = false;  // drawn by TextOut at Rect.TopLeft()
};

class MemoryCanvas : public IBitmapCanvas {
 public:
  MemoryCanvas(int width, int height, TColor background = 0xFFFFFF);

  using ICanvas::DrawText;
  using ICanvas::TextExtent;

  void SetPen(TColor color, int width = 1, TPenStyle style = TPenStyle::psSolid) override;
  void SetBrush(TColor color) override;
  void SetBrushClear() override;
  void SetBrushPattern(const TImage& pattern) override;
  void SetFont(const TFontSpec& font) override { m_state.Font = font; }
  const TFontSpec& Font() const override { return m_state.Font; }
  void SetTextColor(TColor color) override { m_state.TextColor = color; }
  TColor TextColor() const override { return m_state.TextColor; }
  void SetBackgroundMode(TBackgroundMode mode) override { m_state.BackgroundMode = mode; }
  void SetBackgroundColor(TColor color) override { m_state.BackgroundColor = color; }
  TColor ResolveColor(TColor color) const override;

  int Save() override;
  void Restore(int level = -1) override;
  TPoint WindowOrigin() const override { return m_state.Origin; }
  TPoint SetWindowOrigin(TPoint origin) override;

  void IntersectClipRect(const TRect& rect) override;
  void ExcludeClipRect(const TRect& rect) override;
  std::optional<TRegion> GetClipRegion() const override { return m_state.Clip; }
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
  // The arrow is a triangle, not the system's glyph (see MemoryFrames.h).
  void DrawScrollArrow(const TRect& rect, TFrameControlState state) override;

  // Defined here: where <windows.h> is included these two names are macros for the
  // wide functions, and a call the compiler binds directly must find its body.
  void TextOut(TPoint at, std::string_view text) override { WriteText(at, text); }
  int DrawText(TRect& rect, std::string_view text, TTextFlags flags) override { return WriteText(rect, text, flags); }
  TSize TextExtent(std::string_view text) override;
  // True except for the classic bitmap faces: "MS Sans Serif", "System", "Small Fonts",
  // "Courier" and "Terminal".
  bool FontIsTrueType() override;

  void BeginPath() override;
  void EndPath() override;
  void StrokePath() override;
  void FillPath() override;
  void SelectClipPath(TClipCombine combine = TClipCombine::ccAnd) override;

  std::unique_ptr<IBitmapCanvas> CreateBitmap(int width, int height) override;
  // Blocks of zero or negative size transfer nothing; the part of the block whose
  // source lies outside the source bitmap is left alone, as the system does.
  void BitBlt(const TRect& dest, ICanvas& source, TPoint sourceAt, TRasterOp op) override;
  void DrawImage(TPoint at, const TImage& image) override;
  void DrawImageTransparent(TPoint at, const TImage& image, TColor transparent) override;

  int Width() const override { return m_width; }
  int Height() const override { return m_height; }
  TImage Image() const override;

  TColor Pixel(int x, int y) const;  // device pixel, RGB 0x00BBGGRR; outside: clNone
  const std::vector<TDrawnText>& Texts() const { return m_texts; }
  // A fresh picture of the new size, as a new device context would start.
  void Resize(int width, int height, TColor background = 0xFFFFFF);

 private:
  struct TPen {
    TColor Color = clBlack;  // RGB
    int Width = 1;
    bool Visible = true;
  };
  struct TBrush {
    TBrushStyle Style = TBrushStyle::bsSolid;
    TColor Color = clWhite;                 // RGB, for a solid brush
    std::shared_ptr<const TImage> Pattern;  // RGB pixels, for a pattern brush
    TColor At(int x, int y) const;          // the colour at a device pixel
  };
  struct TState {
    std::optional<TRegion> Clip;  // device pixels
    TPoint Origin;
    TPoint Position;  // logical
    TPen Pen;
    TBrush Brush;
    TFontSpec Font;
    TColor TextColor = clBlack;
    TColor BackgroundColor = clWhite;
    TBackgroundMode BackgroundMode = TBackgroundMode::bmOpaque;
  };
  struct TFigure {
    std::vector<TPoint> Points;  // device pixels
    bool Closed = false;
  };
  enum class TPathState { None, Open, Closed };

  TPoint ToDevice(TPoint p) const { return {p.X - m_state.Origin.X, p.Y - m_state.Origin.Y}; }
  TRect ToDevice(const TRect& r) const { return r.Offset(-m_state.Origin.X, -m_state.Origin.Y); }
  TRect Bounds() const { return {0, 0, m_width, m_height}; }
  bool IsVisible(TPoint device) const;
  TRegion DrawableRegion() const;
  void Plot(TPoint device, TColor rgb);
  void FillRegion(const TRegion& device, const TBrush& brush);
  void StrokeSegment(TPoint from, TPoint to, const TPen& pen);  // device pixels
  void StrokeLines(std::span<const TPoint> device, bool close, const TPen& pen);
  void CombineClip(const TRegion& region, TClipCombine combine);
  bool IsRecordingPath() const { return m_path == TPathState::Open; }
  void AddFigure(std::vector<TPoint> device, bool closed);
  TRegion PathRegion(const TRect& limit) const;
  void DrawCells(TPoint reference, std::span<const TTextCell> cells, const std::optional<TRect>& clip);
  void WriteText(TPoint at, std::string_view text);
  int WriteText(TRect& rect, std::string_view text, TTextFlags flags);
  void RecordText(const TRect& rect, std::string_view text, TTextFlags flags, bool atPoint);

  int m_width = 0;
  int m_height = 0;
  std::vector<TColor> m_pixels;
  std::vector<TDrawnText> m_texts;
  TState m_state;
  std::vector<TState> m_saved;
  TPathState m_path = TPathState::None;
  std::vector<TFigure> m_figures;
  std::optional<TPoint> m_figureStart;  // where a move in the path left the pen
};

}  // namespace vormix
