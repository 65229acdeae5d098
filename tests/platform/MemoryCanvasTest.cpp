// The memory canvas is what every native pixel test of a control stands on. Its
// non-text drawing is held to GDI by the differential test under Wine; these tests pin
// down the examples controls rely on, and the text cell metrics that exist only here.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/memory/MemoryCanvas.h"

namespace vormix {
namespace {

using Rows = std::vector<std::string>;

// The default memory scheme's button colours, and a green background that none of
// the system's frame colours share.
constexpr TColor kGreen = 0x00FF00;
const std::map<TColor, char> kLegend = {{kGreen, '.'},   {clBlack, '#'},  {clWhite, 'w'},  {0xA0A0A0, 's'},
                                        {0x696969, 'd'}, {0xE3E3E3, 'l'}, {0xF0F0F0, 'f'}, {clRed, 'r'},
                                        {0xFF00FF, 'x'}, {clBlue, 'b'},   {0x646464, 'F'}};

// One character per pixel by the legend; '?' for any other colour.
Rows Art(const MemoryCanvas& canvas) {
  Rows rows;
  for (int y = 0; y < canvas.Height(); ++y) {
    std::string row;
    for (int x = 0; x < canvas.Width(); ++x) {
      const auto found = kLegend.find(canvas.Pixel(x, y));
      row += found == kLegend.end() ? '?' : found->second;
    }
    rows.push_back(row);
  }
  return rows;
}

struct TPictureCase {
  const char* Name;
  int Width, Height;
  std::function<void(ICanvas&)> Draw;
  Rows Expected;
};

void BlackPen(ICanvas& c) { c.SetPen(clBlack, 1, TPenStyle::psSolid); }

TEST(MemoryCanvasPixels, PrimitivesSetThePixelsWindowsSets) {
  const TPictureCase cases[] = {
      {"a line leaves its end point out",
       7,
       3,
       [](ICanvas& c) {
         BlackPen(c);
         c.MoveTo({1, 1});
         c.LineTo({5, 1});
       },
       {".......", ".####..", "......."}},
      {"a shallow line steps at the half-way ties late going right",
       11,
       6,
       [](ICanvas& c) {
         BlackPen(c);
         c.MoveTo({1, 1});
         c.LineTo({9, 5});
       },
       {"...........", ".##........", "...##......", ".....##....", ".......##..", "..........."}},
      {"and early going left, so the reverse line sets other pixels",
       11,
       6,
       [](ICanvas& c) {
         BlackPen(c);
         c.MoveTo({9, 5});
         c.LineTo({1, 1});
       },
       {"...........", "..#........", "...##......", ".....##....", ".......##..", ".........#."}},
      {"a polygon's interior leaves the right and bottom edges out",
       9,
       8,
       [](ICanvas& c) {
         c.SetPen(clBlack, 1, TPenStyle::psClear);
         c.SetBrush(clBlack);
         const TPoint p[] = {{1, 1}, {7, 1}, {1, 7}};
         c.Polygon(p);
       },
       {".........", ".######..", ".#####...", ".####....", ".###.....", ".##......", ".#.......", "........."}},
      {"and the pen outline closes it over every vertex",
       9,
       8,
       [](ICanvas& c) {
         c.SetPen(clRed, 1, TPenStyle::psSolid);
         c.SetBrush(clBlack);
         const TPoint p[] = {{1, 1}, {7, 1}, {1, 7}};
         c.Polygon(p);
       },
       {".........", ".rrrrrrr.", ".r####r..", ".r###r...", ".r##r....", ".r#r.....", ".rr......", ".r......."}},
      {"Rectangle outlines its outer ring; without a pen it fills one pixel less",
       12,
       6,
       [](ICanvas& c) {
         c.SetPen(clRed, 1, TPenStyle::psSolid);
         c.SetBrush(clBlack);
         c.Rectangle({1, 1, 5, 5});
         c.SetPen(clRed, 1, TPenStyle::psClear);
         c.Rectangle({7, 1, 11, 5});
       },
       {"............", ".rrrr..###..", ".r##r..###..", ".r##r..###..", ".rrrr.......", "............"}},
      {"FillRect takes an inverted rectangle back from its corner, corner included",
       8,
       5,
       [](ICanvas& c) {
         c.FillRect({5, 1, 2, 4}, clBlack);
       },
       {"........", "...###..", "...###..", "...###..", "........"}},
      {"a two-tone frame of four fills: the later fill owns the corners",
       7,
       5,
       [](ICanvas& c) {
         const TRect r{1, 1, 6, 5};
         c.FillRect({r.Left, r.Top, r.Right, r.Top + 1}, clBtnShadow);
         c.FillRect({r.Left, r.Top, r.Left + 1, r.Bottom}, clBtnShadow);
         c.FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom}, clBtnHighlight);
         c.FillRect({r.Right - 1, r.Top, r.Right, r.Bottom}, clBtnHighlight);
       },
       {".......", ".ssssw.", ".s...w.", ".s...w.", ".wwwww."}},
      {"a sunken edge: shadow and dark shadow above and left, highlight and light below and right",
       8,
       7,
       [](ICanvas& c) {
         c.DrawEdge({1, 1, 7, 6}, edgeSunken, bfRect);
       },
       {"........", ".sssssw.", ".sdddlw.", ".sd..lw.", ".sllllw.", ".wwwwww.", "........"}},
      {"a raised edge with its middle filled in the button face",
       8,
       7,
       [](ICanvas& c) {
         c.DrawEdge({1, 1, 7, 6}, edgeRaised, bfRect | bfMiddle);
       },
       {"........", ".llllld.", ".lwwwsd.", ".lwffsd.", ".lssssd.", ".dddddd.", "........"}},
      {"two sides only: the inner lines run to the open ends",
       8,
       7,
       [](ICanvas& c) {
         c.DrawEdge({1, 1, 7, 6}, edgeRaised, bfLeft | bfTop);
       },
       {"........", ".llllll.", ".lwwwww.", ".lw.....", ".lw.....", ".lw.....", "........"}},
      {"soft swaps the upper left colours of the two rings",
       8,
       7,
       [](ICanvas& c) {
         c.DrawEdge({1, 1, 7, 6}, edgeRaised, bfRect | bfSoft);
       },
       {"........", ".wwwwwd.", ".wlllsd.", ".wl..sd.", ".wssssd.", ".dddddd.", "........"}},
      {"flat: a shadow line around the face",
       8,
       7,
       [](ICanvas& c) {
         c.DrawEdge({1, 1, 7, 6}, edgeSunken, bfRect | bfFlat | bfMiddle);
       },
       {"........", ".ssssss.", ".sffffs.", ".sffffs.", ".sffffs.", ".ssssss.", "........"}},
      {"mono: the window frame colour around the window colour",
       8,
       7,
       [](ICanvas& c) {
         c.DrawEdge({1, 1, 7, 6}, edgeSunken, bfRect | bfMono | bfMiddle);
       },
       {"........", ".FFFFFF.", ".FwwwwF.", ".FwwwwF.", ".FwwwwF.", ".FFFFFF.", "........"}},
      {"the focus rectangle inverts every other pixel of the outer ring",
       10,
       7,
       [](ICanvas& c) {
         c.DrawFocusRect({1, 1, 8, 6});
       },
       {"..........", ".x.x.x.x..", "..........", ".x.....x..", "..........", ".x.x.x.x..", ".........."}},
      {"drawn twice it is gone", 10, 7,
       [](ICanvas& c) {
         c.DrawFocusRect({1, 1, 8, 6});
         c.DrawFocusRect({1, 1, 8, 6});
       },
       Rows(7, "..........")},
      {"scroll arrows: raised buttons with a triangle pointing up, down, left and right", 36, 9,
       [](ICanvas& c) {
         for (unsigned k = 0; k < 4; ++k) c.DrawScrollArrow({int(k) * 9, 0, int(k) * 9 + 9, 9}, k);
       },
       {"lllllllldlllllllldlllllllldlllllllld", "lwwwwwwsdlwwwwwwsdlwwwwwwsdlwwwwwwsd",
        "lwfffffsdlwfffffsdlwfff#fsdlwf#fffsd", "lwff#ffsdlw#####sdlwff##fsdlwf##ffsd",
        "lwf###fsdlwf###fsdlwf###fsdlwf###fsd", "lw#####sdlwff#ffsdlwff##fsdlwf##ffsd",
        "lwfffffsdlwfffffsdlwfff#fsdlwf#fffsd", "lsssssssdlsssssssdlsssssssdlsssssssd",
        "dddddddddddddddddddddddddddddddddddd"}},
  };
  for (const TPictureCase& c : cases) {
    SCOPED_TRACE(c.Name);
    MemoryCanvas canvas(c.Width, c.Height, kGreen);
    c.Draw(canvas);
    EXPECT_EQ(Art(canvas), c.Expected);
  }
}

// Clip rectangles are logical, clip regions device pixels; Save/Restore bring back the
// clip and the origin together.
TEST(MemoryCanvasState, ClipOriginAndSavedStatesWorkTogether) {
  MemoryCanvas canvas(10, 8, kGreen);
  EXPECT_EQ(canvas.GetClipRegion(), std::nullopt);
  canvas.SetWindowOrigin({2, 3});
  canvas.IntersectClipRect({2, 3, 6, 7});
  EXPECT_EQ(canvas.GetClipRegion(), TRegion({0, 0, 4, 4}));

  const int level = canvas.Save();
  canvas.SetWindowOrigin({0, 0});
  canvas.ExcludeClipRect({1, 1, 3, 3});
  canvas.Save();
  canvas.SelectClipRegion(std::nullopt, TClipCombine::ccCopy);
  EXPECT_EQ(canvas.GetClipRegion(), std::nullopt);
  EXPECT_TRUE(canvas.RectVisible({8, 6, 9, 7}));
  canvas.Restore(level + 5);  // never saved: nothing happens
  EXPECT_EQ(canvas.GetClipRegion(), std::nullopt);
  canvas.Restore();
  EXPECT_EQ(canvas.GetClipRegion(), TRegion({0, 0, 4, 4}).Subtract(TRegion({1, 1, 3, 3})));
  canvas.Restore(level);
  EXPECT_EQ(canvas.WindowOrigin(), (TPoint{2, 3}));
  EXPECT_EQ(canvas.GetClipRegion(), TRegion({0, 0, 4, 4}));
  EXPECT_FALSE(canvas.RectVisible({6, 3, 9, 5}));
  canvas.Restore();  // nothing left to restore
  EXPECT_EQ(canvas.WindowOrigin(), (TPoint{2, 3}));

  canvas.FillRect({0, 0, 20, 20}, clBlack);  // logical; only the clip's 4 x 4 device pixels
  EXPECT_EQ(Art(canvas), (Rows{"####......", "####......", "####......", "####......", "..........", "..........",
                               "..........", ".........."}));

  // Combining with no clip at all starts from the whole bitmap.
  MemoryCanvas other(6, 4, kGreen);
  other.SelectClipRegion(TRegion({1, 1, 3, 3}), TClipCombine::ccDiff);
  EXPECT_EQ(other.GetClipRegion(), TRegion({0, 0, 6, 4}).Subtract(TRegion({1, 1, 3, 3})));
  other.SelectClipRegion(TRegion({10, 10, 12, 12}), TClipCombine::ccOr);
  EXPECT_EQ(other.GetClipRegion()->Bounds(), (TRect{0, 0, 12, 12}));
}

TEST(MemoryCanvasPixels, PatternBrushesStayAnchoredAtDevicePixelZero) {
  TImage pattern(2, 2, clBlack);
  pattern.Set(1, 0, clWhite);
  pattern.Set(0, 1, clBtnFace);  // a system colour, resolved when the brush is made
  for (TPoint origin : {TPoint{0, 0}, TPoint{1, 0}, TPoint{-3, 5}}) {
    SCOPED_TRACE(origin.X * 100 + origin.Y);
    MemoryCanvas canvas(5, 3, kGreen);
    canvas.SetWindowOrigin(origin);
    canvas.SetBrushPattern(pattern);
    canvas.FillRect({origin.X + 1, origin.Y, origin.X + 5, origin.Y + 2});
    EXPECT_EQ(Art(canvas), (Rows{".w#w#", ".#f#f", "....."}));
  }
}

TEST(MemoryCanvasBitBlt, EveryRasterOperationCombinesPatternSourceAndDestination) {
  const TColor p = 0x0F0F0F, s = 0x333333, d = 0x555555;
  const std::pair<TRasterOp, TColor> cases[] = {
      {TRasterOp::roSrcCopy, 0x333333},  {TRasterOp::roSrcInvert, 0x666666},  {TRasterOp::roSrcAnd, 0x111111},
      {TRasterOp::roSrcPaint, 0x777777}, {TRasterOp::roNotSrcCopy, 0xCCCCCC}, {TRasterOp::roDstInvert, 0xAAAAAA},
      {TRasterOp::roPatCopy, 0x0F0F0F},  {TRasterOp::roPatInvert, 0x5A5A5A},  {TRasterOp::roBlackness, 0x000000},
      {TRasterOp::roWhiteness, 0xFFFFFF}};
  for (const auto& [op, expected] : cases) {
    SCOPED_TRACE(static_cast<unsigned>(op));
    MemoryCanvas canvas(4, 4, d);
    auto source = canvas.CreateBitmap(2, 2);
    source->FillRect({0, 0, 2, 2}, s);
    canvas.SetBrush(p);
    canvas.SetWindowOrigin({-1, -1});
    canvas.BitBlt({0, 0, 2, 2}, *source, {0, 0}, op);
    EXPECT_EQ(canvas.Pixel(1, 1), expected);
    EXPECT_EQ(canvas.Pixel(2, 2), expected);
    EXPECT_EQ(canvas.Pixel(0, 0), d);
    EXPECT_EQ(canvas.Pixel(3, 3), d);
  }

  // The part of the block whose source lies outside the source stays as it was, and a
  // transfer within one canvas reads the source before writing.
  MemoryCanvas canvas(6, 1, kGreen);
  canvas.SetPixel({0, 0}, clRed);
  canvas.SetPixel({1, 0}, clBlue);
  canvas.BitBlt({1, 0, 6, 1}, canvas, {0, 0}, TRasterOp::roSrcCopy);
  EXPECT_EQ(Art(canvas), (Rows{"rrb..."}));
  canvas.BitBlt({0, 0, 3, 1}, canvas, {-2, 0}, TRasterOp::roSrcCopy);
  EXPECT_EQ(Art(canvas), (Rows{"rrr..."}));
  canvas.SetBrushClear();
  canvas.BitBlt({0, 0, 6, 1}, canvas, {}, TRasterOp::roPatCopy);  // a hollow brush paints nothing
  EXPECT_EQ(Art(canvas), (Rows{"rrr..."}));
}

TEST(MemoryCanvasBitBlt, ImagesResolveSystemColoursAndSkipTheTransparentOne) {
  MemoryCanvas canvas(4, 1, kGreen);
  TImage image(3, 1, clRed);
  image.Set(1, 0, clBtnFace);
  canvas.DrawImageTransparent({1, 0}, image, clRed);
  EXPECT_EQ(Art(canvas), (Rows{"..f."}));
  canvas.DrawImage({1, 0}, image);
  EXPECT_EQ(Art(canvas), (Rows{".rfr"}));
}

TEST(MemoryCanvasPaths, PathsClipFillAndStrokeInDevicePixels) {
  const TPoint triangle[] = {{1, 1}, {7, 1}, {1, 7}};
  MemoryCanvas canvas(9, 8, kGreen);
  canvas.BeginPath();
  canvas.Polygon(triangle);
  canvas.FillRect({0, 0, 9, 8}, clRed);  // not part of a path: drawn at once
  canvas.EndPath();
  canvas.SetWindowOrigin({1, 0});  // paths keep the pixels they were drawn at
  canvas.SelectClipPath(TClipCombine::ccAnd);
  canvas.FillRect({0, 0, 10, 8}, clBlack);
  EXPECT_EQ(Art(canvas), (Rows{"rrrrrrrrr", "r######rr", "r#####rrr", "r####rrrr", "r###rrrrr", "r##rrrrrr",
                               "r#rrrrrrr", "rrrrrrrrr"}));

  // Text in a path adds the outline of each character's block.
  MemoryCanvas text(8, 6, kGreen);
  text.SetFont({.Name = "Arial", .Height = -4});
  text.SetBrush(clBlue);
  text.BeginPath();
  text.TextOut({1, 1}, "a b");
  text.EndPath();
  text.FillPath();
  EXPECT_EQ(Art(text), (Rows{"........", ".b...b..", ".b...b..", ".b...b..", "........", "........"}));
  EXPECT_EQ(text.Texts().size(), 1u);
}

// Coordinates far outside the bitmap are bad input a control may still compute; they
// draw what is visible and cost no more than that.
TEST(MemoryCanvasPixels, FarAwayCoordinatesDrawOnlyWhatIsVisible) {
  constexpr int kFar = 1'000'000'000;
  MemoryCanvas canvas(6, 4, kGreen);
  BlackPen(canvas);
  canvas.MoveTo({-kFar, 1});
  canvas.LineTo({kFar, 1});
  canvas.SetBrush(clRed);
  canvas.SetPen(clBlack, 1, TPenStyle::psClear);
  const TPoint huge[] = {{-kFar, 2}, {kFar, 2}, {kFar, kFar}, {-kFar, kFar}};
  canvas.Polygon(huge);
  canvas.DrawFocusRect({-kFar, -kFar, kFar, 1});
  canvas.BitBlt({-kFar, 3, kFar, 4}, canvas, {}, TRasterOp::roWhiteness);
  EXPECT_EQ(Art(canvas), (Rows{".x.x.x", "######", "rrrrrr", "wwwwww"}));
}

// ---- text ----

struct TLayoutCase {
  const char* Text;
  TRect Rect;
  TTextFlags Flags;
  TRect Bounds;  // what dtCalcRect answers
  int Height;    // what DrawText answers
  std::vector<TPoint> LineStarts;
};

// Height -10: narrow characters 5 wide, wide ones 10, lines 10 high.
TEST(MemoryCanvasText, DrawTextLaysOutLinesLikeWindows) {
  const TRect box{0, 0, 100, 50};
  const TLayoutCase cases[] = {
      {"abc", box, dtLeft, {0, 0, 15, 10}, 10, {{0, 0}}},
      {"abc", box, dtCenter, {0, 0, 15, 10}, 10, {{42, 0}}},
      {"abc", box, dtRight, {0, 0, 15, 10}, 10, {{85, 0}}},
      {"abc", box, dtSingleLine | dtVCenter, {0, 0, 15, 30}, 30, {{0, 20}}},
      {"abc", box, dtSingleLine | dtBottom | dtRight, {0, 0, 15, 50}, 50, {{85, 40}}},
      {"abc", box, dtVCenter, {0, 0, 15, 10}, 10, {{0, 0}}},  // only with dtSingleLine
      {"ab\ncd\r\nef", box, dtLeft, {0, 0, 10, 30}, 30, {{0, 0}, {0, 10}, {0, 20}}},
      {"ab\n", box, dtLeft, {0, 0, 10, 10}, 10, {{0, 0}}},
      {"ab\ncd", box, dtSingleLine, {0, 0, 25, 10}, 10, {{0, 0}}},
      {"aa bb cc", {0, 0, 26, 50}, dtWordBreak, {0, 0, 25, 20}, 20, {{0, 0}, {0, 10}}},
      {"a bbbbbbbbb c", {0, 0, 20, 50}, dtWordBreak, {0, 0, 45, 30}, 30, {{0, 0}, {0, 10}, {0, 20}}},
      {"aa bb", {0, 0, 12, 50}, dtWordBreak | dtCenter, {0, 0, 10, 20}, 20, {{1, 0}, {1, 10}}},
      {"aa bb", {0, 0, 12, 50}, dtWordBreak | dtSingleLine, {0, 0, 25, 10}, 10, {{0, 0}}},
      {"中a", box, dtLeft, {0, 0, 15, 10}, 10, {{0, 0}}},
      {"&File", box, dtLeft, {0, 0, 20, 10}, 10, {{0, 0}}},
      {"&File", box, dtNoPrefix, {0, 0, 25, 10}, 10, {{0, 0}}},
      {"a\tb", box, dtExpandTabs, {0, 0, 45, 10}, 10, {{0, 0}}},
      {"a\tb", box, dtLeft, {0, 0, 15, 10}, 10, {{0, 0}}},
      {"", box, dtLeft, {0, 0, 0, 0}, 10, {}},
      {"", box, dtSingleLine, {0, 0, 0, 10}, 10, {}},
  };
  for (const TLayoutCase& c : cases) {
    SCOPED_TRACE(std::string(c.Text) + " flags " + std::to_string(c.Flags));
    MemoryCanvas canvas(0, 0);
    canvas.SetFont({.Name = "Arial", .Height = -10});
    TRect calc = c.Rect;
    EXPECT_EQ(canvas.DrawText(calc, c.Text, c.Flags | dtCalcRect), c.Height);
    EXPECT_EQ(calc, c.Bounds);
    const TTextLayout layout = MemoryTextLayout(c.Text, c.Rect, c.Flags, 10);
    std::vector<TPoint> starts;
    for (const TTextLine& line : layout.Lines) starts.push_back(line.At);
    EXPECT_EQ(starts, c.LineStarts);
  }
  EXPECT_EQ(MemoryCanvas(0, 0).TextExtent("a中&", {.Height = -10}), (TSize{20, 10}));
}

// Height -4: cells 2 x 4 for narrow characters, 4 x 4 for wide ones; each character is
// a block of its cell less the last column and row.
TEST(MemoryCanvasText, CharactersAreBlocksInTheirCells) {
  const TPictureCase cases[] = {
      {"transparent text: blocks only, a space leaves nothing",
       10,
       6,
       [](ICanvas& c) {
         c.SetFont({.Height = -4});
         c.SetTextColor(clBlack);
         c.SetBackgroundMode(TBackgroundMode::bmTransparent);
         c.TextOut({1, 1}, "a b中");
       },
       {"..........", ".#...#.###", ".#...#.###", ".#...#.###", "..........", ".........."}},
      {"opaque text fills the whole cells first",
       8,
       6,
       [](ICanvas& c) {
         c.SetFont({.Height = -4});
         c.SetTextColor(clBlack);
         c.SetBackgroundColor(clRed);
         c.TextOut({1, 1}, "a b");
       },
       {"........", ".#rrr#r.", ".#rrr#r.", ".#rrr#r.", ".rrrrrr.", "........"}},
      {"an underlined font fills the last row of every cell",
       8,
       6,
       [](ICanvas& c) {
         c.SetFont({.Height = -4, .Underline = true});
         c.SetTextColor(clBlack);
         c.SetBackgroundMode(TBackgroundMode::bmTransparent);
         c.TextOut({1, 1}, "a b");
       },
       {"........", ".#...#..", ".#...#..", ".#...#..", ".######.", "........"}},
      {"DrawText underlines the accelerator and clips to its rectangle",
       8,
       6,
       [](ICanvas& c) {
         c.SetFont({.Height = -4});
         c.SetTextColor(clBlack);
         c.SetBackgroundMode(TBackgroundMode::bmTransparent);
         TRect r{1, 1, 5, 6};
         c.DrawText(r, "a&bc", dtLeft);
       },
       {"........", ".#.#....", ".#.#....", ".#.#....", "...##...", "........"}},
      {"escapement 900 turns the text upwards, the characters right of the point",
       6,
       8,
       [](ICanvas& c) {
         c.SetFont({.Height = -4, .Escapement = 900});
         c.SetTextColor(clBlack);
         c.SetBackgroundMode(TBackgroundMode::bmTransparent);
         c.TextOut({1, 7}, "ab");
       },
       {"......", "......", "......", "......", ".###..", "......", ".###..", "......"}},
      {"escapement 2700 turns it downwards, the characters left of the point",
       8,
       6,
       [](ICanvas& c) {
         c.SetFont({.Height = -4, .Escapement = 2700});
         c.SetTextColor(clBlack);
         c.SetBackgroundMode(TBackgroundMode::bmTransparent);
         c.TextOut({6, 1}, "ab");
       },
       {"........", "...###..", "........", "...###..", "........", "........"}},
  };
  for (const TPictureCase& c : cases) {
    SCOPED_TRACE(c.Name);
    MemoryCanvas canvas(c.Width, c.Height, kGreen);
    c.Draw(canvas);
    EXPECT_EQ(Art(canvas), c.Expected);
  }
}

TEST(MemoryCanvasText, DrawnTextIsRecordedAndBitmapFacesAreNotTrueType) {
  MemoryCanvas canvas(20, 20);
  canvas.SetFont({.Name = "宋体", .Height = -12});
  canvas.SetTextColor(clRed);
  canvas.TextOut({2, 3}, "ab");
  TRect r{0, 0, 50, 20};
  canvas.DrawText(r, "measured only", dtCalcRect);
  canvas.DrawText(r, "x", dtCenter);
  ASSERT_EQ(canvas.Texts().size(), 2u);
  EXPECT_TRUE(canvas.Texts()[0].AtPoint);
  EXPECT_EQ(canvas.Texts()[0].Rect, (TRect{2, 3, 14, 15}));
  EXPECT_EQ(canvas.Texts()[0].Font.Color, clRed);
  EXPECT_EQ(canvas.Texts()[1].Text, "x");
  EXPECT_EQ(canvas.Texts()[1].Flags, dtCenter);

  for (const char* face : {"MS Sans Serif", "System", "small fonts", "Courier", "Terminal"}) {
    canvas.SetFont({.Name = face});
    EXPECT_FALSE(canvas.FontIsTrueType()) << face;
  }
  for (const char* face : {"Courier New", "宋体", "Tahoma"}) {
    canvas.SetFont({.Name = face});
    EXPECT_TRUE(canvas.FontIsTrueType()) << face;
  }
}

TEST(MemorySystemColors, ASchemeLoadedForATestIsUndoneAfterIt) {
  const TColor face = MemorySystemColor(15);
  {
    TMemorySystemColorScope scope;
    SetMemorySystemColor(15, 0x123456);
    EXPECT_EQ(MemoryCanvas(1, 1).ResolveColor(clBtnFace), 0x123456u);
    MemoryCanvas canvas(1, 1);
    canvas.FillRect({0, 0, 1, 1}, clBtnFace);
    EXPECT_EQ(canvas.Pixel(0, 0), 0x123456u);
  }
  EXPECT_EQ(MemorySystemColor(15), face);
}

}  // namespace
}  // namespace vormix
