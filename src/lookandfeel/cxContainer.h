#pragma once
// The editors' container: a window that draws a border and a background around its
// content. The classic three-dimensional border is two pixels on every side.
#include <string>

#include "forms/Controls.h"

namespace vormix {

// Distances from a control's bounds to an inner rectangle, side by side.
struct TcxMargins {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const TcxMargins&) const = default;
};

class TcxControl : public TWinControl {
 public:
  explicit TcxControl(std::string name = {}) : TWinControl(std::move(name)) {}
};

class TcxContainer : public TcxControl {
 public:
  explicit TcxContainer(std::string name = {});

  // The area inside the border area, and the margins of the area the content lies in.
  TcxMargins FrameInset() const { return {2, 2, 2, 2}; }
  TRect InnerRect() const;
  virtual TcxMargins ContentMargins() const { return FrameInset(); }
  TRect ContentRect() const;

 protected:
  void PaintWindow(ICanvas& canvas) override;
  virtual TColor BackgroundColor() const { return clWindow; }
};

}  // namespace vormix
