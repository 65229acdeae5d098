#include "lookandfeel/cxContainer.h"

#include "forms/ExtCtrls.h"

namespace vormix {

TcxContainer::TcxContainer(std::string name) : TcxControl(std::move(name)) { SetTabStop(true); }

TRect TcxContainer::InnerRect() const {
  const TcxMargins m = FrameInset();
  return {m.Left, m.Top, Width() - m.Right, Height() - m.Bottom};
}

TRect TcxContainer::ContentRect() const {
  const TcxMargins m = ContentMargins();
  return {m.Left, m.Top, Width() - m.Right, Height() - m.Bottom};
}

// The classic sunken border: the outer ring in the button shadow and highlight, the
// inner ring in the dark shadow and light colours, then the background.
void TcxContainer::PaintWindow(ICanvas& canvas) {
  const TRect bounds = ClientRect();
  DrawFrame(canvas, bounds, clBtnShadow, clBtnHighlight);
  DrawFrame(canvas, bounds.Inflated(-1, -1), cl3DDkShadow, cl3DLight);
  canvas.FillRect(InnerRect(), BackgroundColor());
}

}  // namespace vormix
