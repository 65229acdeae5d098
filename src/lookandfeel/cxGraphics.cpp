#include "lookandfeel/cxGraphics.h"

#include <algorithm>

#include "forms/Controls.h"

namespace vormix {

void FrameTwoTone(ICanvas& canvas, const TRect& r, TColor a, TColor b, TcxBorders sides, int width) {
  if (sides & bLeft) canvas.FillRect({r.Left, r.Top, r.Left + width, r.Bottom}, a);
  if (sides & bTop) canvas.FillRect({r.Left, r.Top, r.Right, r.Top + width}, a);
  if (sides & bRight) canvas.FillRect({r.Right - width, r.Top, r.Right, r.Bottom}, b);
  if (sides & bBottom) canvas.FillRect({r.Left, r.Bottom - width, r.Right, r.Bottom}, b);
}

void FrameSolid(ICanvas& canvas, const TRect& r, TColor color, int width, TcxBorders sides) {
  if (r.IsEmpty()) return;
  auto fill = [&](TRect strip) { canvas.FillRect(strip.Intersected(r), color); };
  if (sides & bLeft) fill({r.Left, r.Top, r.Left + width, r.Bottom});
  if (sides & bTop) fill({r.Left, r.Top, r.Right, r.Top + width});
  if (sides & bRight) fill({r.Right - width, r.Top, r.Right, r.Bottom});
  if (sides & bBottom) fill({r.Left, r.Bottom - width, r.Right, r.Bottom});
}

void FrameEdge(ICanvas& canvas, const TRect& rect, TcxFrameEdge edge, TcxBorders sides) {
  switch (edge) {
    case TcxFrameEdge::SunkenOuter: FrameTwoTone(canvas, rect, clBtnShadow, clBtnHighlight, sides); break;
    case TcxFrameEdge::SunkenInner: FrameTwoTone(canvas, rect, cl3DDkShadow, cl3DLight, sides); break;
    case TcxFrameEdge::RaisedOuter: FrameTwoTone(canvas, rect, cl3DLight, cl3DDkShadow, sides); break;
    case TcxFrameEdge::RaisedInner: FrameTwoTone(canvas, rect, clBtnHighlight, clBtnShadow, sides); break;
  }
}

void FillPolyline(ICanvas& canvas, std::span<const TPoint> points, TColor color) {
  if (points.empty()) return;
  for (std::size_t i = 0; i + 1 < points.size(); ++i) {
    const TPoint a = points[i], b = points[i + 1];
    canvas.FillRect({std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X) + 1, std::max(a.Y, b.Y) + 1},
                    color);
  }
  const TPoint last = points.back();
  canvas.FillRect({last.X, last.Y, last.X + 1, last.Y + 1}, color);
}

void CaptureParentImage(const TWinControl& control, ICanvas& canvas, const TRect& rect) {
  const TWinControl* parent = control.Parent();
  if (!parent) return;
  const int level = canvas.Save();
  const TRect bounds = control.BoundsRect();
  const TPoint origin = canvas.WindowOrigin();
  // The control's place in its parent lands on rect.
  const TPoint parentOrigin{origin.X + bounds.Left - rect.Left, origin.Y + bounds.Top - rect.Top};
  canvas.SetWindowOrigin(parentOrigin);
  canvas.IntersectClipRect(parent->ClientRect());
  parent->PaintCopy(canvas, false);
  // The windowed siblings beneath the control, bottom first, each with its children.
  for (TControl* c : parent->Controls()) {
    if (c == &control) break;
    auto* sibling = dynamic_cast<TWinControl*>(c);
    if (!sibling || !sibling->Visible() || sibling->BoundsRect().Intersected(bounds).IsEmpty()) continue;
    const int siblingLevel = canvas.Save();
    canvas.SetWindowOrigin({parentOrigin.X - sibling->Left(), parentOrigin.Y - sibling->Top()});
    canvas.IntersectClipRect(sibling->ClientRect());
    sibling->PaintCopy(canvas, true);
    canvas.Restore(siblingLevel);
  }
  canvas.Restore(level);
}

}  // namespace vormix
