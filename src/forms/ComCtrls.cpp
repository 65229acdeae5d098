#include "forms/ComCtrls.h"

#include <cmath>

#include "platform/WindowSystem.h"

namespace vormix {

std::unique_ptr<INativeWindow> TProgressBar::CreateNativeWindow(IWindowSystem& system,
                                                                const TNativeWindowParams& params) {
  auto bar = system.CreateProgressBar(params, *this);
  m_shownLength = -1;
  m_paintedLength = -1;
  return bar;
}

void TProgressBar::SetMax(double max) {
  if (max == m_max || max <= m_min) return;  // a maximum not above the minimum is refused
  m_max = max;
  if (m_position > m_max) m_position = m_max;
  PushPicture();
}

void TProgressBar::SetPosition(double position) {
  if (m_min < m_max) position = std::fmin(std::fmax(position, m_min), m_max);
  if (position == m_position) return;
  m_position = position;
  PushPicture();
}

int TProgressBar::FilledLength() const {
  const double range = std::fmax(m_max - m_min, 1.0);
  const double length = std::trunc((m_position - m_min) * Width() / range);
  return static_cast<int>(std::fmin(std::fmax(length, 0.0), Width()));
}

// The native control counts in pixels, so its picture changes exactly when ours does.
void TProgressBar::PushPicture() {
  INativeProgressBar* bar = Bar();
  const int length = FilledLength();
  if (!bar || length == m_shownLength) return;
  if (m_shownLength < 0) bar->SetRange(Width());
  m_shownLength = length;
  bar->SetPosition(length);
}

void TProgressBar::Repaint() {
  PushPicture();
  if (m_shownLength == m_paintedLength) return;
  m_paintedLength = m_shownLength;
  Invalidate();
  Update();
}

void TProgressBar::BoundsChanged() {
  TWinControl::BoundsChanged();
  m_shownLength = -1;
  PushPicture();
}

}  // namespace vormix
