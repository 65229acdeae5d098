#pragma once
// Text layout with the fixed cell metrics of the memory canvas. Glyph shapes are not
// drawn in memory, but every character gets a cell, so where text lands, wraps and
// aligns is exact and testable:
//   - a character below U+0080 is |Height| / 2 wide, any other character |Height| wide;
//   - a line is |Height| high, and the average character width is |Height| / 2;
//   - with dtExpandTabs a tab reaches the next multiple of eight average widths from the
//     start of the line; otherwise it is an ordinary narrow character.
// DrawText lays out as Windows does in the cases the controls rely on: lines end at
// CR, LF or CR LF (a break at the very end starts no further line); dtSingleLine keeps
// everything on one line; dtWordBreak breaks before a word that would reach past the
// rectangle's right edge, dropping the spaces at the break (a word longer than the line
// stays whole on a line of its own); '&' marks the next character as the accelerator
// ("&&" is a literal '&', a '&' at the very end stays visible) unless dtNoPrefix;
// dtCenter and dtRight align each line; dtVCenter and dtBottom place a single line
// (only with dtSingleLine). The height answered is that of the lines, or with dtVCenter
// or dtBottom the distance from the top of the rectangle to the bottom of the text;
// an empty text answers one line height.
#include <string_view>
#include <vector>

#include "base/Geometry.h"
#include "platform/Canvas.h"

namespace vormix {

struct TTextCell {
  char32_t Char = 0;
  int X = 0;  // from the start of its line
  int Width = 0;
  bool Accelerator = false;  // underlined as the prefix character

  // Spaces and control characters take room but leave no mark.
  bool IsBlank() const { return Char <= 0x20; }
};

struct TTextLine {
  TPoint At;  // the line's top-left corner
  int Width = 0;
  std::vector<TTextCell> Cells;
};

struct TTextLayout {
  std::vector<TTextLine> Lines;
  TRect Bounds;    // the rectangle dtCalcRect answers
  int Height = 0;  // what DrawText answers
};

int MemoryCellWidth(char32_t c, int lineHeight);
// One line of cells exactly as given: no prefix processing, tabs as characters.
std::vector<TTextCell> MemoryTextCells(std::string_view text, int lineHeight);
TTextLayout MemoryTextLayout(std::string_view text, const TRect& rect, TTextFlags flags, int lineHeight);

}  // namespace vormix
