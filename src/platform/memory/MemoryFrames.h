#pragma once
// The system's frame pieces, drawn the way user32 draws them: out of one-pixel lines in
// system-colour pens and fills of the canvas they are drawn on, so that they follow its
// clip, origin and pixel rules. The memory canvas draws its DrawEdge, DrawFocusRect and
// DrawScrollArrow with these.
#include "platform/Canvas.h"

namespace vormix {

void DrawSystemEdge(ICanvas& canvas, const TRect& rect, TEdgeFlags edge, TEdgeSides sides);

// The outline of the rectangle's outermost ring, every other pixel inverted, starting
// with the top right pixel and running anticlockwise as a dotted pen would. Only pixels
// within `limit` (logical) are touched, however large the rectangle.
void DrawSystemFocusRect(ICanvas& canvas, const TRect& rect, const TRect& limit);

// The button of a scroll bar arrow: raised without state bits, otherwise (pushed,
// inactive, flat, mono) the soft push-button edges. The arrow is a filled isosceles
// triangle pointing the arrow's way, centred in the glyph box: the largest square
// centred in the rectangle, less one pixel on every side, moved one pixel right and down
// when pushed. For a box of side n the triangle is d = max((n + 2) / 4, min(3,
// (n + 1) / 2)) pixels deep and 2d - 1 wide. An inactive arrow is drawn in the highlight colour one pixel right and
// down, then in the shadow colour; an active one in the button text colour. The system
// draws the arrow as a glyph of its symbol font instead, whose shape is not imitated.
void DrawSystemScrollArrow(ICanvas& canvas, const TRect& rect, TFrameControlState state);

// Where the system's arrow glyph may lie (logical coordinates): the glyph box before the
// push offset, grown right and down by one pixel for a pushed and one for an inactive
// arrow. Glyph boxes under 5 pixels (buttons under 7) are drawn larger than their cell,
// so there it is the whole button and 3 pixels around it.
TRect ScrollArrowGlyphBox(const TRect& rect, TFrameControlState state);

}  // namespace vormix
