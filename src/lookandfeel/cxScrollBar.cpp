#include "lookandfeel/cxScrollBar.h"

#include <algorithm>

#include "base/Error.h"
#include "forms/Forms.h"
#include "platform/WindowSystem.h"

namespace vormix {

namespace {

constexpr int kFirstRepeat = 400, kNextRepeats = 60;
// How far the pointer may stray from a dragged thumb's bar before the thumb snaps back.
constexpr int kTrackAlong = 34, kTrackAcross = 136;

}  // namespace

TcxScrollBar::TcxScrollBar(std::string name) : TWinControl(std::move(name)) {
  SetTabStop(true);
  SetBounds(0, 0, 121, 17);
  m_lookAndFeel.OnLookAndFeelChanged = [this](TcxLookAndFeel&, TcxLookAndFeelValues) { LookAndFeelChanged(); };
  m_themeNotificator.OnThemeChanged = [this] { LookAndFeelChanged(); };
  CalculateThumbMinimum();
  LayoutArrows();
}

TcxScrollBar::~TcxScrollBar() = default;

int TcxScrollBar::Metric(TSystemMetric metric) const {
  if (IWindowSystem* system = WindowSystem()) return system->SystemMetric(metric);
  return 17;  // what the scroll bars of the system in use report, before there is one to ask
}

void TcxScrollBar::SetKind(TScrollBarKind kind) {
  if (kind == m_kind) return;
  m_kind = kind;
  SetBounds(Left(), Top(), Height(), Width());
  CalculateThumbMinimum();
  LayoutArrows();
  Invalidate();
}

void TcxScrollBar::LookAndFeelChanged() {
  CalculateThumbMinimum();
  LayoutArrows();
  Invalidate();
}

// The native theme may ask for a longer thumb than the classic 8 pixels: the size of
// its gripper, at least.
void TcxScrollBar::CalculateThumbMinimum() {
  m_thumbMinimum = 8;
  const TThemeHandle theme = ThemeHandle(tcScrollBar);
  if (!Painter().IsNative() || !theme) return;
  const int gripper = IsHorizontal() ? 9 : 8;
  const auto minimum = GetThemePartSize(theme, nullptr, gripper, 1, nullptr, TThemeSize::tsMin);
  if (!minimum) return;
  int length = IsHorizontal() ? minimum->Width : minimum->Height;
  if (const auto real = GetThemePartSize(theme, nullptr, gripper, 1, nullptr, TThemeSize::tsTrue))
    length = std::max(length, (IsHorizontal() ? real->Width : real->Height) + 4);
  m_thumbMinimum = std::max(length, 8);
}

void TcxScrollBar::LayoutArrows() {
  const int w = Width(), h = Height();
  if (IsHorizontal()) {
    const int a = std::min(Metric(TSystemMetric::smCyHScroll), w / 2);
    m_firstArrow = {0, 0, a, h};
    m_secondArrow = {w - a, 0, w, h};
  } else {
    const int a = std::min(Metric(TSystemMetric::smCxVScroll), h / 2);
    m_firstArrow = {0, 0, w, a};
    m_secondArrow = {0, h - a, w, h};
  }
  LayoutThumb();
}

int TcxScrollBar::TrackStart() const { return IsHorizontal() ? m_firstArrow.Right : m_firstArrow.Bottom; }

int TcxScrollBar::TrackLength() const {
  return IsHorizontal() ? m_secondArrow.Left - m_firstArrow.Right : m_secondArrow.Top - m_firstArrow.Bottom;
}

void TcxScrollBar::PlaceThumb(int start, int length) {
  if (IsHorizontal()) {
    m_thumb = {start, 0, start + length, Height()};
    m_pageBefore = {m_firstArrow.Right, 0, m_thumb.Left, Height()};
    m_pageAfter = {m_thumb.Right, 0, m_secondArrow.Left, Height()};
  } else {
    m_thumb = {0, start, Width(), start + length};
    m_pageBefore = {0, m_firstArrow.Bottom, Width(), m_thumb.Top};
    m_pageAfter = {0, m_thumb.Bottom, Width(), m_secondArrow.Top};
  }
}

void TcxScrollBar::LayoutThumb() {
  m_thumb = m_pageBefore = m_pageAfter = {};
  if (!Enabled()) return;
  const int track = TrackLength();
  int length = 0, offset = 0;
  if (m_pageSize != 0) {
    length = std::min(track, MulDiv(m_pageSize, track, m_max - m_min + 1));
    if (track < m_thumbMinimum || m_max == m_min) return;
    length = std::max(length, m_thumbMinimum);
    const int d = m_max - m_min - m_pageSize + 1;
    offset = MulDiv(track - length, std::min(m_position - m_min, d), d);
  } else {
    length = Metric(IsHorizontal() ? TSystemMetric::smCxHThumb : TSystemMetric::smCyVThumb);
    if (track < length) return;
    offset = (track - length <= 0 || m_max == m_min) ? 0 : MulDiv(track - length, m_position - m_min, m_max - m_min);
  }
  PlaceThumb(TrackStart() + offset, length);
}

int TcxScrollBar::PositionFromThumb() const {
  int n = m_max - m_min;
  if (m_pageSize > 0) n += 1 - m_pageSize;
  return m_min + MulDiv(n, ThumbStart() - TrackStart(), TrackLength() - ThumbLength());
}

TRect TcxScrollBar::PartRect(TcxScrollBarPart part) const {
  switch (part) {
    case sbpLineUp: return m_firstArrow;
    case sbpLineDown: return m_secondArrow;
    case sbpThumbnail: return m_thumb;
    case sbpPageUp: return m_pageBefore;
    case sbpPageDown: return m_pageAfter;
    case sbpNone: break;
  }
  return {};
}

TcxScrollBarPart TcxScrollBar::HitTest(TPoint at) const {
  if (!ClientRect().Contains(at)) return sbpNone;
  if (m_firstArrow.Contains(at)) return sbpLineUp;
  if (m_secondArrow.Contains(at)) return sbpLineDown;
  if (!HasThumb()) return sbpNone;
  if (m_thumb.Contains(at)) return sbpThumbnail;
  if (m_pageBefore.Contains(at)) return sbpPageUp;
  if (m_pageAfter.Contains(at)) return sbpPageDown;
  return sbpNone;
}

void TcxScrollBar::SetParams(int min, int max, int pageSize, int position) {
  if (max < min || max < pageSize) throw Error(kScrollBarRangeError);
  position = std::clamp(position, min, max);
  if (min == m_min && max == m_max && pageSize == m_pageSize && position == m_position) {
    LayoutThumb();
    return;
  }
  const bool rangeChanged = min != m_min || max != m_max || pageSize != m_pageSize;
  m_min = min;
  m_max = max;
  m_pageSize = pageSize;
  if (position != m_position) {
    if (!Enabled()) SetEnabled(true);  // a new position brings a disabled bar back
    m_position = position;
    LayoutThumb();
    RepaintNow();
    if (OnChange) OnChange(*this);
  } else {
    LayoutThumb();
    if (rangeChanged) RepaintNow();
  }
}

void TcxScrollBar::Scroll(TScrollCode code) {
  int p = m_position;
  switch (code) {
    case scLineUp: p -= SmallChange; break;
    case scLineDown: p += SmallChange; break;
    case scPageUp: p -= LargeChange; break;
    case scPageDown: p += LargeChange; break;
    case scTop: p = m_min; break;
    case scBottom: p = m_max; break;
    default: break;
  }
  p = std::clamp(p, m_min, m_max);
  if (OnScroll) OnScroll(*this, code, p);
  p = std::clamp(p, m_min, m_max);
  if (p == m_position) return;
  if (code == scTrack) {
    m_position = p;
    RepaintNow();
  } else {
    SetParams(m_min, m_max, m_pageSize, p);
  }
}

void TcxScrollBar::RepaintNow() {
  if (!HandleAllocated()) return;
  Invalidate();
  Update();
}

TcxButtonState TcxScrollBar::PartState(TcxScrollBarPart part) const {
  if (!Enabled()) return cxbsDisabled;
  const bool tracksHot = Painter().TracksHotPush();
  if (part == sbpThumbnail && !tracksHot) return cxbsNormal;
  if (IsPressActive()) return part == m_pressedPart && part == m_hotPart ? cxbsPressed : cxbsNormal;
  return part == m_hotPart ? cxbsHot : cxbsNormal;
}

// Painted off screen and copied in one transfer, so the bar never flickers.
void TcxScrollBar::PaintWindow(ICanvas& canvas) {
  const TRect client = ClientRect();
  if (client.IsEmpty()) return;
  const TcxCustomLookAndFeelPainter& painter = Painter();
  std::unique_ptr<IBitmapCanvas> buffer = canvas.CreateBitmap(client.Width(), client.Height());
  const bool horizontal = IsHorizontal();
  if (!HasThumb()) painter.PaintScrollBarPart(*buffer, horizontal, cxbsNormal, sbpPageUp, client);
  else painter.PaintScrollBarPart(*buffer, horizontal, PartState(sbpThumbnail), sbpThumbnail, m_thumb);
  for (TcxScrollBarPart part : {sbpLineUp, sbpLineDown, sbpPageUp, sbpPageDown}) {
    const TRect r = PartRect(part);
    if (!r.IsEmpty()) painter.PaintScrollBarPart(*buffer, horizontal, PartState(part), part, r);
  }
  canvas.BitBlt(client, *buffer, {0, 0}, TRasterOp::roSrcCopy);
}

void TcxScrollBar::PartAction(TcxScrollBarPart part) {
  switch (part) {
    case sbpLineUp: Scroll(scLineUp); break;
    case sbpLineDown: Scroll(scLineDown); break;
    case sbpPageUp: Scroll(scPageUp); break;
    case sbpPageDown: Scroll(scPageDown); break;
    default: break;
  }
}

void TcxScrollBar::SetRepeating(bool enabled) {
  if (enabled && !m_repeatTimer) {
    IWindowSystem* system = WindowSystem();
    if (!system) return;
    m_repeatTimer = system->CreateTimer([this] { Guarded([&] { RepeatTick(); }); });
    m_repeatTimer->SetInterval(m_repeatInterval);
  }
  if (m_repeatTimer) m_repeatTimer->SetEnabled(enabled);
}

bool TcxScrollBar::MouseDown(TMouseButton button, TPoint at, TShiftState) {
  if (button != TMouseButton::mbLeft) return true;
  const TcxScrollBarPart part = HitTest(at);
  if (part == sbpNone) return true;
  if (Window()) Window()->SetCapture();
  if (part == sbpThumbnail) {
    m_dragStartPoint = at;
    m_dragStartPosition = m_position;
    m_dragStartThumb = m_thumb.TopLeft();
  }
  m_pressedPart = part;
  m_hotPart = part;
  if (part == sbpThumbnail) {
    Scroll(scTrack);
  } else {
    PartAction(part);
    m_repeatInterval = kFirstRepeat;
    SetRepeating(false);
    m_repeatTimer.reset();
    SetRepeating(true);
  }
  RepaintNow();
  return true;
}

TcxScrollBarPart TcxScrollBar::PartUnderPointer() const {
  IWindowSystem* system = WindowSystem();
  if (!system || !Window()) return sbpNone;
  return HitTest(Window()->ScreenToClient(system->CursorPos()));
}

void TcxScrollBar::RepeatTick() {
  if (!Window() || !Window()->HasCapture() || !IsArrowOrPage(m_pressedPart)) {
    EndPress();
    return;
  }
  if (m_repeatInterval == kFirstRepeat) {
    m_repeatInterval = kNextRepeats;
    m_repeatTimer->SetInterval(m_repeatInterval);
  }
  const TcxScrollBarPart pressed = m_pressedPart;
  PartAction(pressed);
  // A page press stops once the thumb has reached the pointer; an arrow press pauses
  // while the pointer is off the arrow.
  if (m_repeatTimer) m_repeatTimer->SetEnabled(PartUnderPointer() == pressed);
}

void TcxScrollBar::NativeMouseMove(TPoint at, TShiftState) {
  Guarded([&] {
    if (m_pressedPart == sbpThumbnail) {
      DragThumb(at);
      return;
    }
    const TcxScrollBarPart part = HitTest(at);
    if (IsPressActive() && m_repeatTimer) m_repeatTimer->SetEnabled(part == m_pressedPart);
    if (part == m_hotPart) return;
    m_hotPart = part;
    if (Painter().TracksHotPush()) RepaintNow();
  });
}

void TcxScrollBar::DragThumb(TPoint at) {
  const TRect tracking = IsHorizontal() ? ClientRect().Inflated(kTrackAlong, kTrackAcross)
                                        : ClientRect().Inflated(kTrackAcross, kTrackAlong);
  if (!UnlimitedTracking && !tracking.Contains(at)) {
    SetParams(m_min, m_max, m_pageSize, m_dragStartPosition);
    Scroll(scTrack);
    return;
  }
  int d = IsHorizontal() ? at.X - m_dragStartPoint.X : at.Y - m_dragStartPoint.Y;
  if (d == 0) return;
  const int startAlong = IsHorizontal() ? m_dragStartThumb.X : m_dragStartThumb.Y;
  const int length = ThumbLength();
  d = std::clamp(d, TrackStart() - startAlong, TrackStart() + TrackLength() - length - startAlong);
  PlaceThumb(startAlong + d, length);
  RepaintNow();
  const int position = PositionFromThumb();
  if (position != m_position) {
    m_position = position;
    Scroll(scTrack);
  }
}

void TcxScrollBar::MouseUp(TMouseButton button, TPoint at, TShiftState) {
  if (button != TMouseButton::mbLeft) return;
  EndPress();
  m_hotPart = HitTest(at);
}

void TcxScrollBar::EndPress() {
  if (!IsPressActive()) return;
  const bool dragging = m_pressedPart == sbpThumbnail;
  if (dragging) {
    m_position = std::clamp(PositionFromThumb(), m_min, m_max);
    Scroll(scPosition);
  }
  SetRepeating(false);
  m_pressedPart = sbpNone;
  m_hotPart = sbpNone;
  if (Window() && Window()->HasCapture()) Window()->ReleaseCapture();
  Scroll(scEndScroll);
  LayoutThumb();
  Invalidate();
}

void TcxScrollBar::NativeCaptureLost() {
  Guarded([&] { EndPress(); });
}

void TcxScrollBar::NativeMouseEnter() {
  Guarded([&] {
    if (Painter().TracksHotPush() || IsArrowOrPage(m_pressedPart)) RepaintNow();
  });
}

void TcxScrollBar::NativeMouseLeave() {
  Guarded([&] {
    if (m_pressedPart != sbpThumbnail) m_hotPart = sbpNone;
    if (Painter().TracksHotPush() || IsArrowOrPage(m_pressedPart)) Invalidate();
  });
}

void TcxScrollBar::BoundsChanged() {
  TWinControl::BoundsChanged();
  LayoutArrows();
  Invalidate();
}

void TcxScrollBar::EnabledChanged() {
  TWinControl::EnabledChanged();
  if (!Enabled()) EndPress();
  LayoutArrows();
  Invalidate();
}

void TcxScrollBar::VisibleChanged() {
  TWinControl::VisibleChanged();
  if (!Visible()) EndPress();
}

// ---------------------------------------------------------------------------------------
// TcxControlScrollBar

TcxControlScrollBar::TcxControlScrollBar(TWinControl& owner, TcxLookAndFeel& ownerLookAndFeel, std::string name)
    : TcxScrollBar(std::move(name)), m_owner(owner) {
  SetVisible(false);
  SetColor(clBtnFace);
  SetTabStop(false);
  LookAndFeel().SetSourceLookAndFeel(&ownerLookAndFeel);
}

bool TcxControlScrollBar::MouseDown(TMouseButton button, TPoint at, TShiftState shift) {
  if (button == TMouseButton::mbLeft && m_owner.CanFocus() && !m_owner.Focused()) m_owner.SetFocus();
  return TcxScrollBar::MouseDown(button, at, shift);
}

}  // namespace vormix
