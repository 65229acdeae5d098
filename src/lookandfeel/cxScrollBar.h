#pragma once
// The editor library's own scroll bar: arrow buttons, a thumb and two page areas drawn
// through the painter of its look-and-feel, with auto-repeat on a held press and thumb
// dragging that snaps back when the pointer strays too far from the bar.
#include <functional>
#include <memory>
#include <string>

#include "forms/Controls.h"
#include "lookandfeel/cxLookAndFeels.h"

namespace vormix {

enum class TScrollBarKind { sbHorizontal, sbVertical };
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
using TScrollEvent = std::function<void(TObject& sender, TScrollCode code, int& scrollPos)>;

inline constexpr const char* kScrollBarRangeError = "Scrollbar property out of range";

class TcxScrollBar : public TWinControl {
 public:
  explicit TcxScrollBar(std::string name = {});
  ~TcxScrollBar() override;

  TScrollBarKind Kind() const { return m_kind; }
  void SetKind(TScrollBarKind kind);
  int Min() const { return m_min; }
  int Max() const { return m_max; }
  int Position() const { return m_position; }
  int PageSize() const { return m_pageSize; }
  void SetMin(int value) { SetParams(value, m_max, m_pageSize, m_position); }
  void SetMax(int value) { SetParams(m_min, value, m_pageSize, m_position); }
  void SetPageSize(int value) { SetParams(m_min, m_max, value, m_position); }
  void SetPosition(int value) { SetParams(m_min, m_max, m_pageSize, value); }
  // All four at once; refuses (with nothing changed) a maximum below the minimum or the
  // page size.
  void SetParams(int min, int max, int pageSize, int position);
  int SmallChange = 1;
  int LargeChange = 1;
  bool UnlimitedTracking = false;
  TcxLookAndFeel& LookAndFeel() { return m_lookAndFeel; }

  // One scroll action, as a press or the platform's scroll request makes it.
  void Scroll(TScrollCode code);

  TScrollEvent OnScroll;
  TNotifyEvent OnChange;

  // The parts, as they are laid out now.
  TRect PartRect(TcxScrollBarPart part) const;
  TcxScrollBarPart HitTest(TPoint at) const;
  bool HasThumb() const { return !m_thumb.IsEmpty(); }
  int ThumbMinimum() const { return m_thumbMinimum; }
  TcxScrollBarPart PressedPart() const { return m_pressedPart; }
  TcxScrollBarPart HotPart() const { return m_hotPart; }
  TcxButtonState PartState(TcxScrollBarPart part) const;
  const TcxCustomLookAndFeelPainter& Painter() const { return m_lookAndFeel.PainterFor(tcScrollBar); }

 protected:
  void PaintWindow(ICanvas& canvas) override;
  bool MouseDown(TMouseButton button, TPoint at, TShiftState shift) override;
  void MouseUp(TMouseButton button, TPoint at, TShiftState shift) override;
  void BoundsChanged() override;
  void EnabledChanged() override;
  void VisibleChanged() override;

  // INativeWindowHandler: the pointer over the bar and the end of a capture.
  void NativeMouseMove(TPoint at, TShiftState shift) override;
  void NativeMouseEnter() override;
  void NativeMouseLeave() override;
  void NativeCaptureLost() override;

  void LookAndFeelChanged();

 private:
  bool IsHorizontal() const { return m_kind == TScrollBarKind::sbHorizontal; }
  int Metric(TSystemMetric metric) const;
  void CalculateThumbMinimum();
  void LayoutArrows();
  void LayoutThumb();
  void PlaceThumb(int start, int length);
  int TrackStart() const;
  int TrackLength() const;
  int ThumbStart() const { return IsHorizontal() ? m_thumb.Left : m_thumb.Top; }
  int ThumbLength() const { return IsHorizontal() ? m_thumb.Width() : m_thumb.Height(); }
  int PositionFromThumb() const;
  void RepaintNow();
  void PartAction(TcxScrollBarPart part);
  void RepeatTick();
  void SetRepeating(bool enabled);
  void EndPress();
  void DragThumb(TPoint at);
  TcxScrollBarPart PartUnderPointer() const;
  bool IsPressActive() const { return m_pressedPart != sbpNone; }
  bool IsArrowOrPage(TcxScrollBarPart part) const { return part != sbpNone && part != sbpThumbnail; }

  TScrollBarKind m_kind = TScrollBarKind::sbHorizontal;
  int m_min = 0;
  int m_max = 100;
  int m_position = 0;
  int m_pageSize = 0;
  TRect m_firstArrow, m_secondArrow, m_thumb, m_pageBefore, m_pageAfter;
  int m_thumbMinimum = 8;
  TcxScrollBarPart m_pressedPart = sbpNone;
  TcxScrollBarPart m_hotPart = sbpNone;
  TPoint m_dragStartPoint;
  int m_dragStartPosition = 0;
  TPoint m_dragStartThumb;
  int m_repeatInterval = 400;
  std::unique_ptr<ITimer> m_repeatTimer;
  TcxLookAndFeel m_lookAndFeel{this};
  TdxThemeChangedNotificator m_themeNotificator;
};

// A scroll bar that an editor owns and places over the places of its native control's
// scroll bars: hidden until the owner shows it, in the owner's look, and a press on it
// first gives the owner the focus.
class TcxControlScrollBar : public TcxScrollBar {
 public:
  TcxControlScrollBar(TWinControl& owner, TcxLookAndFeel& ownerLookAndFeel, std::string name = {});
  TWinControl& OwnerControl() const { return m_owner; }

 protected:
  bool MouseDown(TMouseButton button, TPoint at, TShiftState shift) override;

 private:
  TWinControl& m_owner;
};

}  // namespace vormix
