#pragma once
// The progress bar: a display editor whose edit value is a number shown as a filled bar
// between a minimum and a maximum, with the percentage (or the position) centred on it.
// It never takes the focus and raises no clicks. In the native look the frame and the
// chunks come from the "Progress" theme; otherwise the editor frame is drawn as for
// every editor and the bar is filled with plain colours.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "base/Image.h"
#include "editors/cxEdit.h"

namespace vormix {

enum class TcxProgressBarBarStyle { cxbsSolid, cxbsLEDs, cxbsGradient, cxbsGradientLEDs, cxbsBitmap, cxbsBitmapLEDs };
enum class TcxProgressBarBevelOuter { cxbvNone, cxbvLowered, cxbvRaised };
enum class TcxProgressBarOrientation { cxorHorizontal, cxorVertical };
enum class TcxProgressBarTextStyle { cxtsPercent, cxtsPosition };

class TcxCustomProgressBarProperties : public TcxCustomEditProperties {
 public:
  using TcxCustomEditProperties::TcxCustomEditProperties;
  void Assign(const TcxCustomEditProperties& source) override;

  TcxProgressBarBevelOuter BarBevelOuter() const { return m_barBevelOuter; }
  void SetBarBevelOuter(TcxProgressBarBevelOuter value) { Set(m_barBevelOuter, value); }
  TcxProgressBarBarStyle BarStyle() const { return m_barStyle; }
  void SetBarStyle(TcxProgressBarBarStyle value) { Set(m_barStyle, value); }
  TColor BeginColor() const { return m_beginColor; }
  void SetBeginColor(TColor value) { Set(m_beginColor, value); }
  int BorderWidth() const { return m_borderWidth; }
  void SetBorderWidth(int value);  // 0 to 65535
  TColor EndColor() const { return m_endColor; }
  void SetEndColor(TColor value) { Set(m_endColor, value); }
  // The pattern of the bitmap styles; empty until one is assigned.
  const TImage& ForegroundImage() const { return m_foregroundImage; }
  void SetForegroundImage(const TImage& image);
  double Max() const { return m_max; }
  void SetMax(double value);  // refused when not above Min
  double Min() const { return m_min; }
  void SetMin(double value);  // drags Max, OverloadValue and PeakValue along
  TcxProgressBarOrientation Orientation() const { return m_orientation; }
  void SetOrientation(TcxProgressBarOrientation value) { Set(m_orientation, value); }
  TColor OverloadBeginColor() const { return m_overloadBeginColor; }
  void SetOverloadBeginColor(TColor value) { Set(m_overloadBeginColor, value); }
  TColor OverloadEndColor() const { return m_overloadEndColor; }
  void SetOverloadEndColor(TColor value) { Set(m_overloadEndColor, value); }
  double OverloadValue() const { return m_overloadValue; }
  void SetOverloadValue(double value);  // kept within Min..Max
  TColor PeakColor() const { return m_peakColor; }
  void SetPeakColor(TColor value) { Set(m_peakColor, value); }
  int PeakSize() const { return m_peakSize; }
  void SetPeakSize(int value);  // 1 and more
  double PeakValue() const { return m_peakValue; }
  void SetPeakValue(double value) { Set(m_peakValue, value); }
  bool ShowOverload() const { return m_showOverload; }
  void SetShowOverload(bool value) { Set(m_showOverload, value); }
  bool ShowPeak() const { return m_showPeak; }
  void SetShowPeak(bool value) { Set(m_showPeak, value); }
  bool ShowText() const { return m_showText; }
  void SetShowText(bool value) { Set(m_showText, value); }
  TcxProgressBarTextStyle ShowTextStyle() const { return m_showTextStyle; }
  void SetShowTextStyle(TcxProgressBarTextStyle value) { Set(m_showTextStyle, value); }
  bool SolidTextColor() const { return m_solidTextColor; }
  void SetSolidTextColor(bool value) { Set(m_solidTextColor, value); }
  TcxProgressBarOrientation TextOrientation() const { return m_textOrientation; }
  void SetTextOrientation(TcxProgressBarOrientation value) { Set(m_textOrientation, value); }
  bool Transparent() const { return m_transparent; }
  void SetTransparent(bool value);
  bool TransparentImage() const { return m_transparentImage; }
  void SetTransparentImage(bool value) { Set(m_transparentImage, value); }

  // Set by the control when it is created: it invalidates the control. Setting
  // Transparent calls it after Changed.
  std::function<void()> ChangeHook;

  // The peak seen while laying out moves PeakValue up without telling anyone.
  void RaisePeakSilently(double value) { m_peakValue = value; }

  bool ChecksEquality() const override { return true; }
  bool ValueRaisesOnlyOnChange() const override { return true; }
  // The number a value stands for: numbers and dates as they are, a string that reads
  // completely as a number that number, anything else 0.
  Variant ValueToDisplayValue(const Variant& value, bool focused) const override;
  // What other views of the value show: the number, with " %" in the percent style.
  std::string DisplayText(const Variant& value) const;

 private:
  TcxProgressBarBevelOuter m_barBevelOuter = TcxProgressBarBevelOuter::cxbvNone;
  TcxProgressBarBarStyle m_barStyle = TcxProgressBarBarStyle::cxbsSolid;
  TColor m_beginColor = 0x800000;
  int m_borderWidth = 0;
  TColor m_endColor = 0xFFFFFF;
  TImage m_foregroundImage;
  double m_max = 100;
  double m_min = 0;
  TcxProgressBarOrientation m_orientation = TcxProgressBarOrientation::cxorHorizontal;
  TColor m_overloadBeginColor = 0x8080FF;
  TColor m_overloadEndColor = 0xFF00FF;
  double m_overloadValue = 80;
  TColor m_peakColor = 0x0000FF;
  int m_peakSize = 2;
  double m_peakValue = 0;
  bool m_showOverload = false;
  bool m_showPeak = false;
  bool m_showText = true;
  TcxProgressBarTextStyle m_showTextStyle = TcxProgressBarTextStyle::cxtsPercent;
  bool m_solidTextColor = false;
  TcxProgressBarOrientation m_textOrientation = TcxProgressBarOrientation::cxorHorizontal;
  bool m_transparent = false;
  bool m_transparentImage = true;
};

class TcxProgressBarProperties : public TcxCustomProgressBarProperties {
 public:
  using TcxCustomProgressBarProperties::TcxCustomProgressBarProperties;
};

// The computed layout of a bar, with everything its painting reads.
struct TcxCustomProgressBarViewInfo {
  TRect Bounds;
  bool Native = false;
  TColor BackgroundColor = clBtnFace;
  TColor TextColor = clWindowText;
  TFontSpec Font;

  double ShownPosition = 0;
  double ShownPeak = 0;
  TColor BeginColor = 0x800000, EndColor = 0xFFFFFF;
  TcxProgressBarBevelOuter BarBevelOuter = TcxProgressBarBevelOuter::cxbvNone;
  double Min = 0, Max = 100;
  TcxProgressBarOrientation Orientation = TcxProgressBarOrientation::cxorHorizontal;
  bool ShowText = true;
  TcxProgressBarTextStyle ShowTextStyle = TcxProgressBarTextStyle::cxtsPercent;
  TcxProgressBarOrientation TextOrientation = TcxProgressBarOrientation::cxorHorizontal;
  bool SolidTextColor = false;
  TcxProgressBarBarStyle BarStyle = TcxProgressBarBarStyle::cxbsSolid;
  double OverloadValue = 80;
  TColor OverloadBeginColor = 0x8080FF, OverloadEndColor = 0xFF00FF;
  bool ShowOverload = false;
  TColor PeakColor = 0x0000FF;
  int PeakSize = 2;
  bool ShowPeak = false;
  bool Transparent = false;

  TImage BarImage;
  TRect BarBounds;
  TRect Content;
  TRect FilledRect;
  TRect OverloadRect;
  TRect PeakRect;
  bool OverloadShown = false;
  bool PeakShown = false;

  bool IsHorizontal() const { return Orientation == TcxProgressBarOrientation::cxorHorizontal; }
  // How many pixels of an extent a value fills (the range counts as 1 at least).
  int Length(double value, int extent) const;
  // The text the bar shows: the percentage or the position.
  std::string Text() const;

  bool operator==(const TcxCustomProgressBarViewInfo&) const = default;
};

// Computes a bar's layout from its settings, its value and its frame.
class TcxCustomProgressBarViewData {
 public:
  explicit TcxCustomProgressBarViewData(TcxCustomProgressBarProperties& properties) : m_properties(properties) {}
  void Calculate(TcxCustomProgressBarViewInfo& vi, const TRect& bounds, const TRect& insideBorder) const;

 private:
  TcxCustomProgressBarProperties& m_properties;
};

class TcxCustomProgressBar : public TcxCustomEdit {
 public:
  TcxCustomProgressBarProperties& Properties() const {
    return static_cast<TcxCustomProgressBarProperties&>(TcxCustomEdit::Properties());
  }
  const TcxCustomProgressBarViewInfo& BarViewInfo() const { return m_bar; }

  double Position() const { return m_bar.ShownPosition; }
  void SetPosition(double position);

  // Paints the bar into its window at once, through the routine that answers the
  // window's paint, but only when its picture differs from the one last painted: an
  // unchanged picture already shows the new position.
  void RepaintNow();

  bool CanFocus() const override { return false; }
  void SetFocus() override {}

 protected:
  TcxCustomProgressBar(std::string name, std::unique_ptr<TcxCustomProgressBarProperties> properties);

  void RefreshText() override;
  void ApplySettings() override;
  void CalculateLayout() override;
  bool IsTransparent() const override { return true; }  // the bar covers what lies inside the frame
  void PaintWindow(ICanvas& canvas) override;
  void FontChanged() override;
  bool NativeMouseDown(TMouseButton button, TPoint at, TShiftState shift) override;
  void MouseUp(TMouseButton, TPoint, TShiftState) override {}

 private:
  // The bar's layout for the present value and frame; the frame itself does not depend
  // on the value, so a new value recalculates only this.
  void CalculateBar();
  void CalculateBarLook();
  // Recalculates the bar and invalidates the window when its picture changed.
  void BarChanged();
  double DisplayNumber() const;
  void ClampShownPosition();
  void PaintBar(ICanvas& canvas);
  int PreferredHeight() const;

  TcxCustomProgressBarViewData m_viewData;
  TcxCustomProgressBarViewInfo m_bar;
  TcxCustomProgressBarViewInfo m_painted;  // what the window showed after the last paint
  bool m_hasPainted = false;
  bool m_calculatingLayout = false;
  // Theme pictures that do not change from one paint to the next: the background with
  // the bar's frame, and the chunk strip.
  struct TCachedPicture {
    std::unique_ptr<IBitmapCanvas> Bitmap;
    TRect Key;
    TColor Color = clNone;
    TThemeHandle Theme = 0;
  };
  TCachedPicture m_frameCache, m_stripCache;
  // The buffers of the last paint, kept for the next one of the same size: a bar painted
  // after every command makes no new bitmaps for it.
  std::unique_ptr<IBitmapCanvas> m_buffer, m_mask;
  // What the kept mask holds (already inverted): the text only changes now and then
  // while the bar grows under it at every paint.
  struct TMaskKey {
    std::string Text;
    TFontSpec Font;
    TSize Size;
    TPoint At;
    bool operator==(const TMaskKey&) const = default;
  };
  std::optional<TMaskKey> m_maskKey;
  friend class TcxProgressBarPainter;
};

class TcxProgressBar : public TcxCustomProgressBar {
 public:
  explicit TcxProgressBar(std::string name = {});
  TcxProgressBarProperties& Properties() const {
    return static_cast<TcxProgressBarProperties&>(TcxCustomProgressBar::Properties());
  }
};

}  // namespace vormix
