// What lies behind a control, painted into a canvas for transparent drawing: the
// parent's face and graphic children, the overlapping windowed siblings beneath the
// control with their children, and the canvas left as it was.
#include <gtest/gtest.h>

#include "forms/ExtCtrls.h"
#include "forms/MemoryDesktop.h"
#include "lookandfeel/cxGraphics.h"
#include "platform/memory/MemoryCanvas.h"

namespace vormix {
namespace {

// A windowed control that paints itself in one colour.
class TSwatch : public TWinControl {
 public:
  using TWinControl::TWinControl;
  TColor Fill = clRed;
  bool SawCopy = false;

 protected:
  void PaintWindow(ICanvas& canvas) override {
    SawCopy = SawCopy || IsPaintingCopy();
    canvas.FillRect(ClientRect(), Fill);
  }
};

TEST(CaptureParentImage, ParentThenLowerSiblingsWithChildrenAtTheControlsPlace) {
  TMemoryDesktop desk;
  TCustomForm form{desk.app, "Form"};
  form.SetClientSize(200, 120);
  auto panel = Place<TPanel>(form, "panel", 10, 10, 100, 60);
  panel->BevelOuter = TPanelBevel::bvNone;
  panel->SetColor(clYellow);
  auto line = Place<TBevel>(*panel, "line", 0, 30, 100, 2);  // a graphic child of the parent
  line->Shape = TBevelShape::bsTopLine;
  auto below = Place<TSwatch>(*panel, "below", 0, 0, 20, 20);
  below->Fill = clBlue;
  auto grandchild = Place<TSwatch>(*below, "grandchild", 12, 12, 4, 4);
  grandchild->Fill = clLime;
  auto elsewhere = Place<TSwatch>(*panel, "elsewhere", 80, 40, 10, 10);  // does not overlap
  auto control = Place<TSwatch>(*panel, "control", 10, 10, 30, 30);
  auto above = Place<TSwatch>(*panel, "above", 30, 20, 5, 5);  // on top of the control: not behind it
  form.Show();

  MemoryCanvas canvas(40, 40, clWhite);
  canvas.SetWindowOrigin({-5, -5});  // whatever the caller's origin, rect is where it lands
  canvas.IntersectClipRect({-5, -5, 35, 35});
  CaptureParentImage(*control, canvas, {0, 0, 30, 30});

  // Canvas pixel (5 + x, 5 + y) shows the parent at (10 + x, 10 + y).
  EXPECT_EQ(canvas.Pixel(5 + 15, 5 + 15), clYellow);             // the parent's face
  EXPECT_EQ(canvas.Pixel(5 + 0, 5 + 0), clBlue);                 // the sibling below, (10, 10)
  EXPECT_EQ(canvas.Pixel(5 + 9, 5 + 9), clBlue);                 // its last pixel (19, 19)
  EXPECT_EQ(canvas.Pixel(5 + 10, 5 + 10), clYellow);             // past it
  EXPECT_EQ(canvas.Pixel(5 + 2, 5 + 2), clLime);                 // the sibling's own child
  EXPECT_EQ(canvas.Pixel(5 + 22, 5 + 12), clYellow);             // the sibling above is not drawn
  EXPECT_EQ(canvas.Pixel(5 + 0, 5 + 20), ResolveMemoryColor(clBtnShadow));  // the bevel at y 30
  EXPECT_EQ(canvas.Pixel(5 + 0, 5 + 21), clWhite);               // the bevel's lower line
  EXPECT_TRUE(below->SawCopy);
  EXPECT_FALSE(elsewhere->SawCopy);
  EXPECT_FALSE(above->SawCopy);
  EXPECT_FALSE(below->IsPaintingCopy());
  EXPECT_EQ(canvas.WindowOrigin(), (TPoint{-5, -5}));
  EXPECT_EQ(canvas.GetClipRegion(), TRegion({0, 0, 40, 40}));
}

}  // namespace
}  // namespace vormix
