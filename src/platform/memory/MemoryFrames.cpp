#include "platform/memory/MemoryFrames.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace vormix {

namespace {

// System-colour indices of the edge lines; -1 draws no line. The tables are indexed by
// the edge bits: outer raised 1, outer sunken 2, inner raised 4, inner sunken 8. A
// lone inner edge is drawn where the outer one would be.
constexpr signed char N = -1, Face = 15, Shadow = 16, Light = 22, Highlight = 20, Dark = 21, Window = 5, Frame = 6;
// Rows: no inner edge, raised inner, sunken inner, both; columns the same for the outer.
constexpr signed char kLTInnerNormal[16] = {N, N,         N,         N,  //
                                            N, Highlight, Highlight, N,  //
                                            N, Dark,      Dark,      N,  //
                                            N, N,         N,         N};
constexpr signed char kLTOuterNormal[16] = {N,         Light, Shadow, N,  //
                                            Highlight, Light, Shadow, N,  //
                                            Dark,      Light, Shadow, N,  //
                                            N,         Light, Shadow, N};
constexpr signed char kRBInnerNormal[16] = {N, N,      N,      N,  //
                                            N, Shadow, Shadow, N,  //
                                            N, Light,  Light,  N,  //
                                            N, N,      N,      N};
constexpr signed char kRBOuterNormal[16] = {N,      Dark, Highlight, N,  //
                                            Shadow, Dark, Highlight, N,  //
                                            Light,  Dark, Highlight, N,  //
                                            N,      Dark, Highlight, N};
constexpr signed char kLTInnerSoft[16] = {N, N,      N,      N,  //
                                          N, Light,  Light,  N,  //
                                          N, Shadow, Shadow, N,  //
                                          N, N,      N,      N};
constexpr signed char kLTOuterSoft[16] = {N,      Highlight, Dark, N,  //
                                          Light,  Highlight, Dark, N,  //
                                          Shadow, Highlight, Dark, N,  //
                                          N,      Highlight, Dark, N};
constexpr signed char kOuterMono[16] = {N,      Frame, Frame, Frame,  //
                                        Window, Frame, Frame, Frame,  //
                                        Window, Frame, Frame, Frame,  //
                                        Window, Frame, Frame, Frame};
constexpr signed char kInnerMono[16] = {N, N,      N,      N,       //
                                        N, Window, Window, Window,  //
                                        N, Window, Window, Window,  //
                                        N, Window, Window, Window};
constexpr signed char kOuterFlat[16] = {N,    Shadow, Shadow, Shadow,  //
                                        Face, Shadow, Shadow, Shadow,  //
                                        Face, Shadow, Shadow, Shadow,  //
                                        Face, Shadow, Shadow, Shadow};
constexpr signed char kInnerFlat[16] = {N, N,    N,    N,     //
                                        N, Face, Face, Face,  //
                                        N, Face, Face, Face,  //
                                        N, Face, Face, Face};

constexpr TFrameControlState kAdjustRect = 0x2000, kChecked = 0x400;

void EdgeFill(ICanvas& canvas, signed char color, int x, int y, int width, int height) {
  if (color != N) canvas.FillRect({x, y, x + width, y + height}, SystemColor(color));
}

// The rectangle inside the edge lines that were drawn.
TRect InsideEdge(const TRect& rect, TEdgeFlags edge, TEdgeSides sides) {
  const int type = edge & 0xF;
  const int add = (kInnerMono[type] != N ? 1 : 0) + (kOuterMono[type] != N ? 1 : 0);
  TRect inner = rect;
  if (sides & bfLeft) inner.Left += add;
  if (sides & bfRight) inner.Right -= add;
  if (sides & bfTop) inner.Top += add;
  if (sides & bfBottom) inner.Bottom -= add;
  return inner;
}

// The glyph box before any push offset.
TRect SquareGlyphBox(const TRect& rect) {
  const int width = rect.Width(), height = rect.Height();
  TRect square = rect;
  if (width < height) {
    square.Top += (height - width) / 2;
    square.Bottom = square.Top + width;
  } else if (width > height) {
    square.Left += (width - height) / 2;
    square.Right = square.Left + height;
  }
  return square.Inflated(-1, -1);
}

void FillTriangle(ICanvas& canvas, const TRect& box, unsigned kind, TColor color) {
  const int n = box.Height();
  const int depth = std::max((n + 2) / 4, std::min(3, (n + 1) / 2));
  if (depth <= 0) return;
  const int across = 2 * depth - 1;
  const bool vertical = kind == dfcsScrollUp || kind == dfcsScrollDown;
  const int left = box.Left + (n - (vertical ? across : depth)) / 2;
  const int top = box.Top + (n - (vertical ? depth : across)) / 2;
  // Row (or column) i from the apex reaches i pixels either side of the middle.
  const int middle = depth - 1;
  for (int i = 0; i < depth; ++i) {
    const int from = middle - i, to = middle + i + 1;
    switch (kind) {
      case dfcsScrollUp: canvas.FillRect({left + from, top + i, left + to, top + i + 1}, color); break;
      case dfcsScrollDown: canvas.FillRect({left + from, top + middle - i, left + to, top + depth - i}, color); break;
      case dfcsScrollLeft: canvas.FillRect({left + i, top + from, left + i + 1, top + to}, color); break;
      default: canvas.FillRect({left + middle - i, top + from, left + depth - i, top + to}, color); break;
    }
  }
}

void PushButtonFace(ICanvas& canvas, const TRect& rect, TFrameControlState flags) {
  const TEdgeFlags edge = (flags & (dfcsPushed | kChecked | dfcsFlat)) ? edgeSunken : edgeRaised;
  if (flags & dfcsMono) {
    DrawSystemEdge(canvas, rect, edge, bfMono | bfRect);
    canvas.FillRect(InsideEdge(rect, edge, bfRect), clBtnFace);
  } else {
    DrawSystemEdge(canvas, rect, edge, (flags & dfcsFlat ? bfFlat : 0) | bfMiddle | bfRect | bfSoft);
  }
}

}  // namespace

void DrawSystemEdge(ICanvas& canvas, const TRect& r, TEdgeFlags edge, TEdgeSides sides) {
  const int type = edge & 0xF;
  const bool doubleInner = (type & 0xC) == 0xC, doubleOuter = (type & 0x3) == 0x3;
  // An edge that is both raised and sunken on one ring has no middle to fill, unless
  // flat or mono colours make the question moot.
  const bool fillsMiddle = !((doubleInner || doubleOuter) && !(sides & (bfFlat | bfMono)));

  signed char ltInner, ltOuter, rbInner, rbOuter;
  if (sides & bfMono) {
    ltInner = rbInner = kInnerMono[type];
    ltOuter = rbOuter = kOuterMono[type];
  } else if (sides & bfFlat) {
    ltInner = rbInner = kInnerFlat[type];
    ltOuter = rbOuter = kOuterFlat[type];
    if (ltInner != N) ltInner = rbInner = Face;
  } else if (sides & bfSoft) {
    ltInner = kLTInnerSoft[type];
    ltOuter = kLTOuterSoft[type];
    rbInner = kRBInnerNormal[type];
    rbOuter = kRBOuterNormal[type];
  } else {
    ltInner = kLTInnerNormal[type];
    ltOuter = kLTOuterNormal[type];
    rbInner = kRBInnerNormal[type];
    rbOuter = kRBOuterNormal[type];
  }
  // Where two drawn sides meet, the inner line of one stops short of the other's.
  const int lb = (sides & (bfLeft | bfBottom)) == (bfLeft | bfBottom) ? 1 : 0;
  const int rt = (sides & (bfRight | bfTop)) == (bfRight | bfTop) ? 1 : 0;
  const int rb = (sides & (bfRight | bfBottom)) == (bfRight | bfBottom) ? 1 : 0;
  const int lt = (sides & (bfLeft | bfTop)) == (bfLeft | bfTop) ? 1 : 0;

  // Each line is a one-pixel fill from the rectangle's left or top edge, so an inverted
  // rectangle turns its lines about the corner pixels as FillRect does.
  const int width = r.Right - r.Left, height = r.Bottom - r.Top;
  if (sides & bfTop) EdgeFill(canvas, ltOuter, r.Left, r.Top, width, 1);
  if (sides & bfLeft) EdgeFill(canvas, ltOuter, r.Left, r.Top, 1, height);
  if (sides & bfBottom) EdgeFill(canvas, rbOuter, r.Left, r.Bottom - 1, width, 1);
  if (sides & bfRight) EdgeFill(canvas, rbOuter, r.Right - 1, r.Top, 1, height);

  if (sides & bfTop) EdgeFill(canvas, ltInner, r.Left + lt, r.Top + 1, width - lt - rt, 1);
  if (sides & bfLeft) EdgeFill(canvas, ltInner, r.Left + 1, r.Top + lt, 1, height - lt - lb);
  if (sides & bfBottom) EdgeFill(canvas, rbInner, r.Left + lb, r.Bottom - 2, width - lb - rb, 1);
  if (sides & bfRight) EdgeFill(canvas, rbInner, r.Right - 2, r.Top + rt, 1, height - rt - rb);

  if ((sides & bfMiddle) && fillsMiddle) {
    canvas.FillRect(InsideEdge(r, edge, sides), sides & bfMono ? clWindow : clBtnFace);
  }
}

void DrawSystemFocusRect(ICanvas& canvas, const TRect& rect, const TRect& limit) {
  const std::int64_t left = std::min(rect.Left, rect.Right), right = std::max(rect.Left, rect.Right) - 1;
  const std::int64_t top = std::min(rect.Top, rect.Bottom), bottom = std::max(rect.Top, rect.Bottom) - 1;
  if (left > right || top > bottom) return;
  // The four sides as a dotted pen walks them: from the top right corner leftwards, down
  // the left side, right along the bottom and up the right side, each side leaving out
  // the corner it runs into. Pixel n of the walk is inverted when n is even.
  struct TSide {
    std::int64_t X, Y, Dx, Dy, Count;
  };
  const TSide sides[4] = {{right, top, -1, 0, right - left},
                          {left, top, 0, 1, bottom - top},
                          {left, bottom, 1, 0, right - left},
                          {right, bottom, 0, -1, bottom - top}};
  std::int64_t walked = 0;
  for (const TSide& side : sides) {
    // Only the steps that land inside the limit are visited.
    std::int64_t first = 0, last = side.Count;  // [first, last)
    const auto keep = [&](std::int64_t from, std::int64_t step, int low, int high) {
      if (step == 0) {
        if (from < low || from >= high) last = first;
        return;
      }
      const std::int64_t a = (low - from) * step, b = (high - 1 - from) * step;  // step is +1 or -1
      first = std::max(first, std::min(a, b));
      last = std::min(last, std::max(a, b) + 1);
    };
    keep(side.X, side.Dx, limit.Left, limit.Right);
    keep(side.Y, side.Dy, limit.Top, limit.Bottom);
    for (std::int64_t k = first; k < last; ++k) {
      if ((walked + k) % 2 != 0) continue;
      const int x = static_cast<int>(side.X + k * side.Dx), y = static_cast<int>(side.Y + k * side.Dy);
      canvas.BitBlt({x, y, x + 1, y + 1}, canvas, {}, TRasterOp::roDstInvert);
    }
    walked += side.Count;
  }
}

void DrawSystemScrollArrow(ICanvas& canvas, const TRect& rect, TFrameControlState state) {
  const unsigned kind = state & 0xFF;
  if (kind > dfcsScrollRight) return;
  if (state & 0xFF00 & ~kAdjustRect)
    PushButtonFace(canvas, rect, state & 0xFF00);
  else
    DrawSystemEdge(canvas, rect, edgeRaised, bfRect | bfMiddle);

  TRect box = SquareGlyphBox(rect);
  if (state & dfcsPushed) box = box.Offset(1, 1);
  if (state & dfcsInactive) {
    FillTriangle(canvas, box.Offset(1, 1), kind, clBtnHighlight);
    FillTriangle(canvas, box, kind, clBtnShadow);
  } else {
    FillTriangle(canvas, box, kind, clBtnText);
  }
}

TRect ScrollArrowGlyphBox(const TRect& rect, TFrameControlState state) {
  TRect box = SquareGlyphBox(rect);
  const int grow = (state & dfcsPushed ? 1 : 0) + (state & dfcsInactive ? 1 : 0);
  box.Right += grow;
  box.Bottom += grow;
  // The symbol font's smallest sizes draw glyphs larger than their cell.
  return box.Height() - grow < 5 ? rect.Inflated(3, 3) : box;
}

}  // namespace vormix
