#include "forms/ExtCtrls.h"

namespace vormix {

void DrawFrame(ICanvas& canvas, const TRect& r, TColor topLeft, TColor bottomRight) {
  if (r.Width() <= 0 || r.Height() <= 0) return;
  canvas.FillRect({r.Left, r.Top, r.Right, r.Top + 1}, topLeft);
  canvas.FillRect({r.Left, r.Top, r.Left + 1, r.Bottom}, topLeft);
  canvas.FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom}, bottomRight);
  canvas.FillRect({r.Right - 1, r.Top, r.Right, r.Bottom}, bottomRight);
}

TPanel::TPanel(std::string name) : TWinControl(std::move(name)) { SetColor(clBtnFace); }

void TPanel::PaintWindow(ICanvas& canvas) {
  TRect r = ClientRect();
  for (TPanelBevel bevel : {BevelOuter, BevelInner}) {
    if (bevel == TPanelBevel::bvNone) continue;
    const bool raised = bevel == TPanelBevel::bvRaised;
    DrawFrame(canvas, r, raised ? clBtnHighlight : clBtnShadow, raised ? clBtnShadow : clBtnHighlight);
    r = r.Inflated(-1, -1);
  }
  canvas.FillRect(r, Color());
}

void TBevel::Paint(ICanvas& canvas) {
  const TRect b = BoundsRect();
  switch (Shape) {
    case TBevelShape::bsBottomLine:
      canvas.FillRect({b.Left, b.Bottom - 2, b.Right, b.Bottom - 1}, clBtnShadow);
      canvas.FillRect({b.Left, b.Bottom - 1, b.Right, b.Bottom}, clBtnHighlight);
      break;
    case TBevelShape::bsTopLine:
      canvas.FillRect({b.Left, b.Top, b.Right, b.Top + 1}, clBtnShadow);
      canvas.FillRect({b.Left, b.Top + 1, b.Right, b.Top + 2}, clBtnHighlight);
      break;
    case TBevelShape::bsLeftLine:
      canvas.FillRect({b.Left, b.Top, b.Left + 1, b.Bottom}, clBtnShadow);
      canvas.FillRect({b.Left + 1, b.Top, b.Left + 2, b.Bottom}, clBtnHighlight);
      break;
    case TBevelShape::bsRightLine:
      canvas.FillRect({b.Right - 2, b.Top, b.Right - 1, b.Bottom}, clBtnShadow);
      canvas.FillRect({b.Right - 1, b.Top, b.Right, b.Bottom}, clBtnHighlight);
      break;
    case TBevelShape::bsBox:
    case TBevelShape::bsFrame:
      DrawFrame(canvas, b, clBtnShadow, clBtnHighlight);
      DrawFrame(canvas, b.Inflated(-1, -1), clBtnHighlight, clBtnShadow);
      break;
  }
}

void TImageBox::SetPicture(const TImage& picture, TColor transparent) {
  m_picture = picture;
  m_transparent = transparent;
  if (!picture.IsEmpty()) SetBounds(Left(), Top(), picture.Width, picture.Height);
  Invalidate();
}

void TImageBox::Paint(ICanvas& canvas) {
  if (!m_picture.IsEmpty()) canvas.DrawImageTransparent(BoundsRect().TopLeft(), m_picture, m_transparent);
}

void TLabel::SetCaption(const std::string& caption) {
  if (caption == m_caption) return;
  m_caption = caption;
  Invalidate();
}

void TLabel::Paint(ICanvas& canvas) {
  if (!Transparent) canvas.FillRect(BoundsRect(), Color());
  canvas.DrawText(BoundsRect(), m_caption, Font(), dtLeft | dtNoClip | dtNoPrefix | dtExpandTabs);
}

}  // namespace vormix
