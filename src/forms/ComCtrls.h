#pragma once
// A plain progress bar on the platform's native progress control.
#include <string>

#include "forms/Controls.h"

namespace vormix {

class TProgressBar : public TWinControl {
 public:
  explicit TProgressBar(std::string name = {}) : TWinControl(std::move(name)) {}

  double Min() const { return m_min; }
  double Max() const { return m_max; }
  void SetMax(double max);
  double Position() const { return m_position; }
  // Clamped into Min..Max while Min < Max.
  void SetPosition(double position);
  void ClearValue() { SetPosition(m_min); }

  // Paints the bar now, but only when its picture differs from the one on screen: an
  // unchanged picture already shows the new position.
  void Repaint();

  // How many pixels of the bar the position fills.
  int FilledLength() const;

 protected:
  std::unique_ptr<INativeWindow> CreateNativeWindow(IWindowSystem& system,
                                                    const TNativeWindowParams& params) override;
  void BoundsChanged() override;
  void NativeWindowCreated() override { PushPicture(); }

 private:
  INativeProgressBar* Bar() const { return dynamic_cast<INativeProgressBar*>(Window()); }
  void PushPicture();

  double m_min = 0;
  double m_max = 100;
  double m_position = 0;
  int m_shownLength = -1;    // what the native control was last given
  int m_paintedLength = -1;  // what was on screen after the last repaint
};

}  // namespace vormix
