#pragma once
// Painters: stateless drawing strategies for the recurring pieces of the controls
// (button faces and frames, arrows, focus marks, scroll bar parts), one shared object
// per look. The classic drawing lives in the base painter; the native painter draws
// through the visual-styles theme and falls back to the classic operation, call by
// call, whenever the theme gives no handle or a themed draw fails.
#include <array>
#include <memory>
#include <string_view>

#include "base/Image.h"
#include "lookandfeel/cxGraphics.h"
#include "lookandfeel/dxThemeManager.h"

namespace vormix {

enum TcxButtonState { cxbsDefault, cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled };
enum TcxArrowDirection { adUp, adDown, adLeft, adRight };

// The parts of a scroll bar, numbered as the scroll bar control numbers them.
enum TcxScrollBarPart { sbpNone, sbpLineUp, sbpLineDown, sbpThumbnail, sbpPageUp, sbpPageDown };

// The triangle of an arrow in a rectangle. Proportional arrows first make the rectangle
// square by cutting its longer side evenly.
std::array<TPoint, 3> ArrowPoints(const TRect& rect, TcxArrowDirection direction, bool proportional);

class TcxCustomLookAndFeelPainter {
 public:
  virtual ~TcxCustomLookAndFeelPainter() = default;

  virtual int StyleCode() const { return 1; }
  virtual bool IsNative() const { return false; }

  virtual void FillArrow(ICanvas& canvas, const TRect& rect, TcxArrowDirection direction, TColor color) const;
  virtual void PaintArrowButton(ICanvas& canvas, const TRect& rect, TcxButtonState state,
                                TcxArrowDirection direction, bool framed) const;
  virtual void PaintButtonBox(ICanvas& canvas, const TRect& rect, TcxButtonState state) const;
  virtual void PaintStateArrow(ICanvas& canvas, const TRect& rect, TcxButtonState state,
                               TcxArrowDirection direction) const;
  virtual int FrameWidth() const { return 2; }
  virtual void PaintFrame(ICanvas& canvas, const TRect& rect) const;

  virtual int PushFrameWidth(TcxButtonState state) const { return state == cxbsDefault ? 3 : 2; }
  virtual TColor PushFaceColor(TcxButtonState state) const;
  virtual TRect PushFocusBounds(ICanvas& canvas, const TRect& rect) const;
  // Insets of one button of a group of buttons; the same on every side here.
  virtual TRect PushGroupInsets(int count, int index) const;
  virtual int PushCaptionInset() const { return 1; }
  virtual int PushPressShift() const { return 1; }
  virtual TColor PushInkColor(TcxButtonState state) const;
  virtual TcxButtonState PushInkState(TcxButtonState state) const { return state; }
  virtual void PaintPushButton(ICanvas& canvas, const TRect& rect, std::string_view caption, TcxButtonState state,
                               bool drawFrame, TColor faceColor, TColor textColor) const;
  void PaintPushButtonPlain(ICanvas& canvas, const TRect& rect, TcxButtonState state) const;
  virtual void PaintPushFrame(ICanvas& canvas, const TRect& rect, TcxButtonState state) const;
  virtual bool TracksHotPush() const { return false; }

  virtual void PaintScrollBarPart(ICanvas& canvas, bool horizontal, TcxButtonState state, TcxScrollBarPart part,
                                  const TRect& rect) const;

 protected:
  void DrawTriangle(ICanvas& canvas, const std::array<TPoint, 3>& points, TColor color) const;
};

// The classic three-dimensional look.
class TcxStandardLookAndFeelPainter : public TcxCustomLookAndFeelPainter {};

// The other classic kinds draw as the classic look; only their codes differ.
class TcxFlatLookAndFeelPainter : public TcxCustomLookAndFeelPainter {
 public:
  int StyleCode() const override { return 0; }
};

class TcxUltraFlatLookAndFeelPainter : public TcxCustomLookAndFeelPainter {
 public:
  int StyleCode() const override { return 2; }
};

class TcxOffice11LookAndFeelPainter : public TcxUltraFlatLookAndFeelPainter {
 public:
  int StyleCode() const override { return 4; }
};

// The platform's visual-styles look.
class TcxWinXPLookAndFeelPainter : public TcxStandardLookAndFeelPainter {
 public:
  int StyleCode() const override { return 3; }
  bool IsNative() const override { return true; }

  void PaintArrowButton(ICanvas& canvas, const TRect& rect, TcxButtonState state, TcxArrowDirection direction,
                        bool framed) const override;
  void PaintButtonBox(ICanvas& canvas, const TRect& rect, TcxButtonState state) const override;
  int FrameWidth() const override;
  void PaintFrame(ICanvas& canvas, const TRect& rect) const override;
  int PushFrameWidth(TcxButtonState state) const override;
  TColor PushFaceColor(TcxButtonState state) const override;
  TRect PushFocusBounds(ICanvas& canvas, const TRect& rect) const override;
  int PushCaptionInset() const override { return 2; }
  int PushPressShift() const override { return 0; }
  TColor PushInkColor(TcxButtonState state) const override;
  void PaintPushButton(ICanvas& canvas, const TRect& rect, std::string_view caption, TcxButtonState state,
                       bool drawFrame, TColor faceColor, TColor textColor) const override;
  bool TracksHotPush() const override { return true; }
  void PaintScrollBarPart(ICanvas& canvas, bool horizontal, TcxButtonState state, TcxScrollBarPart part,
                          const TRect& rect) const override;
};

// The theme state of the push-button part for a button state.
int PushButtonThemeState(TcxButtonState state);

// The shared painter of each kind.
const TcxStandardLookAndFeelPainter& StandardPainter();
const TcxFlatLookAndFeelPainter& FlatPainter();
const TcxUltraFlatLookAndFeelPainter& UltraFlatPainter();
const TcxOffice11LookAndFeelPainter& Office11Painter();
const TcxWinXPLookAndFeelPainter& WinXPPainter();

// What the painters keep between paints: the two 8 x 8 patterns of the scroll bars'
// page areas, in the system colours of the time they were built, rebuilt (before any
// control repaints) when the system colours change.
class TcxPainterModule {
 public:
  explicit TcxPainterModule(IWindowSystem* windows);
  ~TcxPainterModule();
  TcxPainterModule(const TcxPainterModule&) = delete;
  TcxPainterModule& operator=(const TcxPainterModule&) = delete;

  static TcxPainterModule* Current();
  const TImage& PageAreaPattern(bool pressed) const { return pressed ? m_pressedPattern : m_pattern; }
  int Rebuilds() const { return m_rebuilds; }

 private:
  void Rebuild();

  IWindowSystem* m_windows;
  TcxPainterModule* m_previous;
  TImage m_pattern;
  TImage m_pressedPattern;
  int m_rebuilds = 0;
  std::unique_ptr<TcxSystemPaletteChangedNotifier> m_notifier;
};

}  // namespace vormix
