#pragma once
// The effect label: a display editor that shows its caption with depth copies behind
// it, a raised, lowered or outlined look, rotation and a picture fill. Its picture is
// rendered into a cache and copied on every paint while nothing changed.
#include <climits>
#include <memory>
#include <optional>
#include <string>

#include "editors/cxEdit.h"

namespace vormix {

enum class TcxLabelEffect { cxleNormal, cxleFun, cxleExtrude, cxleCool };
enum class TcxLabelStyle { cxlsNormal, cxlsRaised, cxlsLowered, cxlsOutLine };
enum class TcxLabelOrientation { cxoLeft, cxoRight, cxoTop, cxoBottom, cxoLeftTop, cxoLeftBottom, cxoRightTop,
                                 cxoRightBottom };

class TcxCustomLabelProperties : public TcxCustomEditProperties {
 public:
  using TcxCustomEditProperties::TcxCustomEditProperties;
  void Assign(const TcxCustomEditProperties& source) override;

  int Angle() const { return m_angle; }
  void SetAngle(int value) { Set(m_angle, value); }
  unsigned short Depth() const { return m_depth; }
  void SetDepth(unsigned short value) { Set(m_depth, value); }
  TcxLabelEffect LabelEffect() const { return m_labelEffect; }
  void SetLabelEffect(TcxLabelEffect value) { Set(m_labelEffect, value); }
  TcxLabelStyle LabelStyle() const { return m_labelStyle; }
  void SetLabelStyle(TcxLabelStyle value) { Set(m_labelStyle, value); }
  TcxLabelOrientation Orientation() const { return m_orientation; }
  void SetOrientation(TcxLabelOrientation value) { Set(m_orientation, value); }
  int PenWidth() const { return m_penWidth; }
  void SetPenWidth(int value) { Set(m_penWidth, value); }
  TColor ShadowedColor() const { return m_shadowedColor; }
  void SetShadowedColor(TColor value) { Set(m_shadowedColor, value); }
  bool ShowAccelChar() const { return m_showAccelChar; }
  void SetShowAccelChar(bool value) { Set(m_showAccelChar, value); }
  // Kept for the settings' sake; the label's drawing does not use it.
  bool ShowEndEllipsis() const { return m_showEndEllipsis; }
  void SetShowEndEllipsis(bool value) { Set(m_showEndEllipsis, value); }
  bool Transparent() const { return m_transparent; }
  void SetTransparent(bool value) { Set(m_transparent, value); }
  bool WordWrap() const { return m_wordWrap; }
  void SetWordWrap(bool value) { Set(m_wordWrap, value); }

  // The picture that fills the letters; none while empty.
  const TImage* Glyph() const { return m_glyph ? m_glyph.get() : nullptr; }
  // Copies the picture; nothing frees it. Either way the label hears of it.
  void SetGlyph(const TImage* picture);

  // How far the depth copies reach, (dx, dy); nothing without an effect.
  TPoint DepthShift() const;

  bool ChecksEquality() const override { return true; }
  bool ValueRaisesOnlyOnChange() const override { return true; }
  Variant ValueToDisplayValue(const Variant& value, bool focused) const override;

 private:
  int m_angle = 0;
  unsigned short m_depth = 0;
  TcxLabelEffect m_labelEffect = TcxLabelEffect::cxleNormal;
  TcxLabelStyle m_labelStyle = TcxLabelStyle::cxlsNormal;
  TcxLabelOrientation m_orientation = TcxLabelOrientation::cxoRightBottom;
  int m_penWidth = 1;
  TColor m_shadowedColor = clGrayText;
  bool m_showAccelChar = true;
  bool m_showEndEllipsis = false;
  bool m_transparent = false;
  bool m_wordWrap = false;
  std::unique_ptr<TImage> m_glyph;
};

class TcxLabelProperties : public TcxCustomLabelProperties {
 public:
  using TcxCustomLabelProperties::TcxCustomLabelProperties;
};

class TcxCustomLabel;

// The label's layout and its cached picture.
class TcxCustomLabelViewInfo {
 public:
  // What every editor's layout holds.
  TRect Bounds;
  TRect BorderRect;  // inside the transparent border area
  TColor BackgroundColor = clBtnFace;
  TColor TextColor = clWindowText;
  TFontSpec Font;
  std::string Text;
  bool Native = false;
  int NativeState = 1;

  // Copies of the settings.
  TcxLabelEffect LabelEffect = TcxLabelEffect::cxleNormal;
  TcxLabelStyle LabelStyle = TcxLabelStyle::cxlsNormal;
  TcxLabelOrientation Orientation = TcxLabelOrientation::cxoRightBottom;
  int Depth = 0;
  TColor ShadowedColor = clGrayText;
  bool ShowAccelChar = true;
  int Angle = 0;
  int PenWidth = 1;
  bool WordWrap = false;
  bool Transparent = false;
  TcxEditAlignment Alignment;
  std::optional<TImage> Glyph;

  TPoint DepthShift;
  TRect ContentRect;
  std::unique_ptr<IBitmapCanvas> LabelCache;
  bool CacheStale = true;
  TPoint CachedAt{INT_MAX, INT_MAX};
  int CacheRenders = 0;  // how often the picture was drawn anew

  // Renders the cache when it is stale, then copies it.
  void Paint(ICanvas& canvas, const TcxCustomLabel& label);
  // The picture itself, in rectangle a of the canvas; origin is a's place on the label.
  void DrawContent(ICanvas& canvas, const TRect& a, TPoint origin, const TcxCustomLabel& label) const;

 private:
  void DrawTextOnce(ICanvas& canvas, const TRect& a, TPoint q, int theta) const;
  void DrawFilled(ICanvas& canvas, const TRect& a, TPoint q, int theta, bool trueType) const;
};

// Works out the layout and the size the caption asks for.
class TcxCustomLabelViewData {
 public:
  static void Calculate(const TcxCustomLabel& label, TcxCustomLabelViewInfo& viewInfo);
  // The content size AutoSize gives the label, before its border area.
  static TSize ContentSize(const TcxCustomLabel& label, ICanvas& canvas);
};

// 1 or 2 pixels for the raised and lowered looks (by the font's point size), else 0.
int LabelStyleOffset(TcxLabelStyle style, int pointSize);
// The font's size in points at the given resolution, rounded.
int FontPointSize(const TFontSpec& font, int dpi);
// The caption with every accelerator mark dropped; a mark at the very end shows as '_'.
std::string RemoveAccelChars(const std::string& caption);
// The character after a single '&', or 0.
char32_t AccelCharOf(const std::string& caption);
// Copy i of n between two RGB colours, each byte truncated.
TColor BlendLabelColor(TColor from, TColor to, int i, int n);

class TcxCustomLabel : public TcxCustomEdit {
 public:
  const std::string& Caption() const { return m_caption; }
  void SetCaption(const std::string& caption);
  TWinControl* FocusControl() const { return m_focusControl; }
  void SetFocusControl(TWinControl* control);

  TcxCustomLabelProperties& Properties() const {
    return static_cast<TcxCustomLabelProperties&>(TcxCustomEdit::Properties());
  }
  const TcxCustomLabelViewInfo& LabelViewInfo() const { return m_labelViewInfo; }
  int ScreenDpi() const;
  IWindowSystem* Windows() const { return WindowSystem(); }

  bool CanFocus() const override { return false; }
  TColor DefaultStyleColor() const override;
  TcxEditBorderStyle DefaultBorderStyle(TcxLookAndFeelKind) const override { return TcxEditBorderStyle::ebsNone; }
  bool WantsDialogChar(char16_t ch) override;
  void ControlLeavingForm(TWinControl* control) override {
    if (control == m_focusControl) m_focusControl = nullptr;
  }

 protected:
  TcxCustomLabel(std::string name, std::unique_ptr<TcxCustomLabelProperties> properties);

  void StoreEditValue(const Variant& value) override;
  void PutDisplayText(const std::string& text) override;
  void RefreshText() override;
  void ApplySettings() override;
  void CalculateLayout() override;
  void FontChanged() override;
  TcxContainerStyleValues FrameStyleValues() const override;
  bool IsTransparent() const override { return Properties().Transparent(); }
  void PaintContent(ICanvas& canvas) override;
  bool NativeMouseDown(TMouseButton button, TPoint at, TShiftState shift) override;
  void MouseUp(TMouseButton button, TPoint at, TShiftState shift) override;

 private:
  void ApplyAutoSize();

  std::string m_caption;
  bool m_syncingCaption = false;
  bool m_autoSizing = false;
  TWinControl* m_focusControl = nullptr;
  TcxCustomLabelViewInfo m_labelViewInfo;
};

class TcxLabel : public TcxCustomLabel {
 public:
  explicit TcxLabel(std::string name = {});
  TcxLabelProperties& Properties() const {
    return static_cast<TcxLabelProperties&>(TcxCustomLabel::Properties());
  }
};

}  // namespace vormix
