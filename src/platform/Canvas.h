#pragma once
// Drawing surface of a window or an off-screen buffer.
#include <string>
#include <string_view>

#include "base/Color.h"
#include "base/Geometry.h"

namespace vormix {

// A font as the program describes it; adapters turn it into a native font.
struct TFontSpec {
  std::string Name = "宋体";
  int Height = -12;  // negative: character height in pixels, as on Windows
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  TColor Color = clWindowText;

  bool operator==(const TFontSpec&) const = default;
};

// DrawText layout flags (a small subset of what Windows knows).
using TTextFlags = unsigned;
constexpr TTextFlags tfLeft = 0, tfCenter = 1, tfRight = 2, tfVCenter = 4, tfSingleLine = 8,
                     tfNoClip = 16;

class ICanvas {
 public:
  virtual ~ICanvas() = default;
  // Colours may be system colours; the canvas resolves them when drawing.
  virtual void FillRect(const TRect& rect, TColor color) = 0;
  virtual void DrawText(const TRect& rect, std::string_view text, const TFontSpec& font,
                        TTextFlags flags) = 0;
  virtual TSize TextExtent(std::string_view text, const TFontSpec& font) = 0;
};

}  // namespace vormix
