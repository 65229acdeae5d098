#pragma once
// A drawing surface with the semantics of a Windows device context: the window's paint,
// an off-screen bitmap, or a memory raster in the tests. The controls draw nothing
// else, so whatever holds on one adapter holds on the other.
//
// Coordinates are logical: a point (x, y) lands on device pixel (x - origin.X,
// y - origin.Y), where origin is the window origin. Rectangles are (Left, Top, Right,
// Bottom) with Right and Bottom exclusive. Clip rectangles given to IntersectClipRect
// and ExcludeClipRect are logical; clip regions (GetClipRegion, SelectClipRegion) are in
// device pixels, as on Windows. Brush patterns are anchored at device pixel (0, 0).
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/Color.h"
#include "base/Geometry.h"
#include "base/Image.h"
#include "base/Region.h"

namespace vormix {

// A font as the program describes it; adapters turn it into a native font.
struct TFontSpec {
  std::string Name = "宋体";
  int Height = -12;  // negative: character height in pixels, as on Windows
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  TColor Color = clWindowText;
  int Escapement = 0;  // text direction in tenths of a degree, counter-clockwise

  bool operator==(const TFontSpec&) const = default;
};

enum class TPenStyle { psSolid, psClear };
enum class TBrushStyle { bsSolid, bsClear, bsPattern };
enum class TBackgroundMode { bmTransparent, bmOpaque };
// How a new clip area combines with the present one.
enum class TClipCombine { ccAnd, ccCopy, ccOr, ccDiff, ccXor };

// DrawText flags; the values are those of Windows' DT_ constants.
using TTextFlags = unsigned;
constexpr TTextFlags dtLeft = 0x0, dtTop = 0x0, dtCenter = 0x1, dtRight = 0x2, dtVCenter = 0x4,
                     dtBottom = 0x8, dtWordBreak = 0x10, dtSingleLine = 0x20,
                     dtExpandTabs = 0x40, dtNoClip = 0x100, dtCalcRect = 0x400,
                     dtNoPrefix = 0x800, dtEndEllipsis = 0x8000, dtHidePrefix = 0x100000;

// DrawEdge edges and sides; the values of Windows' BDR_ and BF_ constants.
using TEdgeFlags = unsigned;
constexpr TEdgeFlags bdrRaisedOuter = 0x1, bdrSunkenOuter = 0x2, bdrRaisedInner = 0x4,
                     bdrSunkenInner = 0x8, edgeRaised = 0x5, edgeSunken = 0xA, edgeEtched = 0x6,
                     edgeBump = 0x9;
using TEdgeSides = unsigned;
constexpr TEdgeSides bfLeft = 0x1, bfTop = 0x2, bfRight = 0x4, bfBottom = 0x8, bfRect = 0xF,
                     bfMiddle = 0x800, bfSoft = 0x1000, bfFlat = 0x4000, bfMono = 0x8000;

// DrawFrameControl for scroll bar arrows: Windows' DFC_SCROLL with its DFCS_ states.
using TFrameControlState = unsigned;
constexpr TFrameControlState dfcsScrollUp = 0x0, dfcsScrollDown = 0x1, dfcsScrollLeft = 0x2,
                             dfcsScrollRight = 0x3, dfcsInactive = 0x100, dfcsPushed = 0x200,
                             dfcsFlat = 0x4000, dfcsMono = 0x8000;

// Raster operations of a bit-block transfer; the values of Windows' ternary ROP codes.
enum class TRasterOp : std::uint32_t {
  roSrcCopy = 0x00CC0020,     // source
  roSrcInvert = 0x00660046,   // source XOR destination
  roSrcAnd = 0x008800C6,      // source AND destination
  roSrcPaint = 0x00EE0086,    // source OR destination
  roNotSrcCopy = 0x00330008,  // NOT source
  roDstInvert = 0x00550009,   // NOT destination (no source)
  roPatCopy = 0x00F00021,     // brush (no source)
  roPatInvert = 0x005A0049,   // brush XOR destination (no source)
  roBlackness = 0x00000042,   // black (no source)
  roWhiteness = 0x00FF0062,   // white (no source)
};

class IBitmapCanvas;

class ICanvas {
 public:
  virtual ~ICanvas() = default;

  // ---- objects selected into the canvas ----
  // Pens are cosmetic: width 1 draws exactly as Windows does; wider pens are for
  // outlines only (a stroked text path) and are not guaranteed to the pixel.
  virtual void SetPen(TColor color, int width = 1, TPenStyle style = TPenStyle::psSolid) = 0;
  virtual void SetBrush(TColor color) = 0;  // solid
  virtual void SetBrushClear() = 0;         // hollow: fills and polygon interiors draw nothing
  // A pattern brush tiled from the picture, anchored at device pixel (0, 0).
  virtual void SetBrushPattern(const TImage& pattern) = 0;
  virtual void SetFont(const TFontSpec& font) = 0;
  virtual const TFontSpec& Font() const = 0;
  virtual void SetTextColor(TColor color) = 0;
  virtual TColor TextColor() const = 0;
  virtual void SetBackgroundMode(TBackgroundMode mode) = 0;
  virtual void SetBackgroundColor(TColor color) = 0;
  // A colour as this canvas draws it: system colours resolved to RGB, RGB unchanged.
  // Pixels of pictures given to the canvas may be system colours too; they are resolved
  // when used.
  virtual TColor ResolveColor(TColor color) const = 0;

  // ---- state ----
  // Saves clip, origin, pen, brush, font, colours, background mode and the current
  // position; Restore() goes back to the last saved state, Restore(level) to the state of
  // the Save() call that answered level. A level that was never answered, or whose state
  // was restored already, changes nothing.
  virtual int Save() = 0;
  virtual void Restore(int level = -1) = 0;
  virtual TPoint WindowOrigin() const = 0;
  virtual TPoint SetWindowOrigin(TPoint origin) = 0;  // answers the previous origin

  // ---- clipping ----
  virtual void IntersectClipRect(const TRect& rect) = 0;
  virtual void ExcludeClipRect(const TRect& rect) = 0;
  // Device pixels; no value means no clip (everything may be drawn).
  virtual std::optional<TRegion> GetClipRegion() const = 0;
  virtual void SelectClipRegion(const std::optional<TRegion>& region,
                                TClipCombine combine = TClipCombine::ccCopy) = 0;
  // Whether any part of the rectangle may still be drawn.
  virtual bool RectVisible(const TRect& rect) const = 0;

  // ---- areas and lines ----
  // Colours may be system colours; the canvas resolves them when drawing. clNone draws
  // nothing. As on Windows, a fill takes an inverted rectangle back from its left or top
  // edge with that edge's own pixel included: {5, 0, 2, 1} fills x = 3, 4, 5.
  virtual void FillRect(const TRect& rect, TColor color) = 0;
  virtual void FillRect(const TRect& rect) = 0;  // with the current brush
  // The pen outlines the rectangle's outermost ring, the brush fills inside it; without
  // a pen the fill stops one pixel short of the right and bottom edges.
  virtual void Rectangle(const TRect& rect) = 0;
  virtual void MoveTo(TPoint p) = 0;
  virtual void LineTo(TPoint p) = 0;  // the end point is not drawn
  virtual void Polyline(std::span<const TPoint> points) = 0;
  // Filled with the brush (alternate fill rule), outlined with the pen.
  virtual void Polygon(std::span<const TPoint> points) = 0;
  virtual void SetPixel(TPoint p, TColor color) = 0;

  // ---- the system's frame pieces ----
  virtual void DrawEdge(const TRect& rect, TEdgeFlags edge, TEdgeSides sides) = 0;
  virtual void DrawFocusRect(const TRect& rect) = 0;  // dotted, exclusive-or
  virtual void DrawScrollArrow(const TRect& rect, TFrameControlState state) = 0;

  // ---- text (current font, text colour and background mode) ----
  virtual void TextOut(TPoint at, std::string_view text) = 0;
  // Draws as Windows' DrawText does; with dtCalcRect only measures, adjusting rect.
  // Answers the height of the text.
  virtual int DrawText(TRect& rect, std::string_view text, TTextFlags flags) = 0;
  virtual TSize TextExtent(std::string_view text) = 0;
  // Whether the current font is an outline font that can be rotated and drawn as a path.
  virtual bool FontIsTrueType() = 0;

  // ---- paths (lines, polygons and text drawn between BeginPath and EndPath) ----
  virtual void BeginPath() = 0;
  virtual void EndPath() = 0;
  virtual void StrokePath() = 0;  // with the pen; the path is used up
  virtual void FillPath() = 0;    // with the brush; the path is used up
  virtual void SelectClipPath(TClipCombine combine = TClipCombine::ccAnd) = 0;

  // ---- bitmaps ----
  // An off-screen bitmap of the same kind as this canvas, every pixel black at first.
  virtual std::unique_ptr<IBitmapCanvas> CreateBitmap(int width, int height) = 0;
  // Transfers a width x height block from the source's logical (srcX, srcY) to this
  // canvas's logical dest.TopLeft(). The source must come from the same adapter; the
  // operations that take no source ignore it and may be given this canvas. A block of
  // zero or negative size transfers nothing; where the source lies outside the source
  // bitmap, the destination stays as it was. The pattern operations use this canvas's
  // brush and draw nothing with a hollow one.
  virtual void BitBlt(const TRect& dest, ICanvas& source, TPoint sourceAt, TRasterOp op) = 0;
  virtual void DrawImage(TPoint at, const TImage& image) = 0;
  // Pixels of the transparent colour leave the canvas as it was.
  virtual void DrawImageTransparent(TPoint at, const TImage& image, TColor transparent) = 0;

  // The platform's own handle behind the canvas (an HDC on Windows, null in memory),
  // for the theme library's drawing.
  virtual void* NativeHandle() const { return nullptr; }

  // ---- conveniences over the operations above ----
  void DrawText(const TRect& rect, std::string_view text, const TFontSpec& font, TTextFlags flags) {
    SetFont(font);
    SetTextColor(font.Color);
    SetBackgroundMode(TBackgroundMode::bmTransparent);
    TRect r = rect;
    DrawText(r, text, flags);
  }
  TSize TextExtent(std::string_view text, const TFontSpec& font) {
    SetFont(font);
    return TextExtent(text);
  }
};

// A canvas over pixels of its own.
class IBitmapCanvas : public ICanvas {
 public:
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual TImage Image() const = 0;  // every pixel, as RGB
};

}  // namespace vormix
