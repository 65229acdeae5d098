#pragma once
// A picture as plain pixels: what glyphs, brush patterns and captured screens are made
// of wherever the program holds them itself. Pixels are RGB 0x00BBGGRR, row by row from
// the top.
#include <cstddef>
#include <vector>

#include "base/Color.h"

namespace vormix {

struct TImage {
  int Width = 0;
  int Height = 0;
  std::vector<TColor> Pixels;

  TImage() = default;
  TImage(int width, int height, TColor fill = clBlack)
      : Width(width > 0 ? width : 0), Height(height > 0 ? height : 0),
        Pixels(static_cast<std::size_t>(Width) * Height, fill) {}

  bool IsEmpty() const { return Width <= 0 || Height <= 0; }
  TColor At(int x, int y) const { return Pixels[static_cast<std::size_t>(y) * Width + x]; }
  void Set(int x, int y, TColor c) { Pixels[static_cast<std::size_t>(y) * Width + x] = c; }

  friend bool operator==(const TImage&, const TImage&) = default;
};

}  // namespace vormix
