#pragma once
// Panels, separator lines and labels: the static furniture of a form.
#include <string>

#include "forms/Controls.h"

namespace vormix {

enum class TPanelBevel { bvNone, bvLowered, bvRaised };

// A container that draws its bevels and fills the rest with its colour.
class TPanel : public TWinControl {
 public:
  explicit TPanel(std::string name = {});
  TPanelBevel BevelOuter = TPanelBevel::bvRaised;
  TPanelBevel BevelInner = TPanelBevel::bvNone;

 protected:
  void PaintWindow(ICanvas& canvas) override;
};

enum class TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine };

// An etched line two pixels thick, the way dialogs separate groups of controls.
class TBevel : public TControl {
 public:
  explicit TBevel(std::string name = {}) : TControl(std::move(name)) {}
  TBevelShape Shape = TBevelShape::bsBottomLine;
  void Paint(ICanvas& canvas) override;
};

class TLabel : public TControl {
 public:
  explicit TLabel(std::string name = {}) : TControl(std::move(name)) {}
  const std::string& Caption() const { return m_caption; }
  void SetCaption(const std::string& caption);
  bool Transparent = false;
  void Paint(ICanvas& canvas) override;

 private:
  std::string m_caption;
};

// A picture on the form, drawn at its place with one colour let through; the control
// takes the picture's size.
class TImageBox : public TControl {
 public:
  explicit TImageBox(std::string name = {}) : TControl(std::move(name)) {}
  const TImage& Picture() const { return m_picture; }
  void SetPicture(const TImage& picture, TColor transparent);
  void Paint(ICanvas& canvas) override;

 private:
  TImage m_picture;
  TColor m_transparent = clNone;
};

// Draws a one-pixel frame: top and left edges in one colour, bottom and right in the other.
void DrawFrame(ICanvas& canvas, const TRect& rect, TColor topLeft, TColor bottomRight);

}  // namespace vormix
