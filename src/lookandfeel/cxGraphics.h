#pragma once
// Canvas helpers the painters and the editors' frames draw with. Every frame line is a
// filled strip of whole pixels, never a pen stroke, so the result is exact everywhere.
#include <span>

#include "platform/Canvas.h"

namespace vormix {

class TWinControl;

// Sides of a rectangle.
using TcxBorders = unsigned;
constexpr TcxBorders bLeft = 1, bTop = 2, bRight = 4, bBottom = 8, cxBordersAll = 15;

// Left and top strips in colour a, right and bottom strips in colour b; right and bottom
// come last, so the top-right and bottom-left corner pixels take colour b.
void FrameTwoTone(ICanvas& canvas, const TRect& rect, TColor a, TColor b, TcxBorders sides = cxBordersAll,
                  int width = 1);
// The same strips in one colour, kept inside the rectangle; nothing for an empty one.
void FrameSolid(ICanvas& canvas, const TRect& rect, TColor color, int width = 1, TcxBorders sides = cxBordersAll);

enum class TcxFrameEdge { SunkenOuter, SunkenInner, RaisedOuter, RaisedInner };
void FrameEdge(ICanvas& canvas, const TRect& rect, TcxFrameEdge edge, TcxBorders sides = cxBordersAll);

// A one-pixel line through points joined by horizontal and vertical segments, both ends
// included.
void FillPolyline(ICanvas& canvas, std::span<const TPoint> points, TColor color);

// Paints into canvas what lies behind the control: its parent's background and face and
// the windowed siblings below it that overlap, the control's rectangle in its parent
// landing on rect. The canvas's state is the same afterwards.
void CaptureParentImage(const TWinControl& control, ICanvas& canvas, const TRect& rect);

}  // namespace vormix
