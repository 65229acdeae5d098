// What the differential test cannot compare: text through GDI, the fonts behind it, and
// the canvas's own bookkeeping of what GDI keeps in the device context.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/win32/Win32BitmapCanvas.h"
#include "platform/win32/Win32Fonts.h"

namespace vormix {
namespace {

class Win32CanvasText : public testing::Test {
 protected:
  // The bounds of the pixels that are not white.
  static TRect InkBounds(const IBitmapCanvas& canvas) {
    const TImage image = canvas.Image();
    TRect ink{image.Width, image.Height, 0, 0};
    for (int y = 0; y < image.Height; ++y)
      for (int x = 0; x < image.Width; ++x)
        if (image.At(x, y) != clWhite) {
          ink.Left = std::min(ink.Left, x);
          ink.Top = std::min(ink.Top, y);
          ink.Right = std::max(ink.Right, x + 1);
          ink.Bottom = std::max(ink.Bottom, y + 1);
        }
    return ink;
  }

  std::unique_ptr<IBitmapCanvas> WhiteCanvas() {
    auto canvas = std::make_unique<Win32BitmapCanvas>(120, 120, m_fonts);
    canvas->FillRect({0, 0, 120, 120}, clWhite);
    canvas->SetTextColor(clBlack);
    canvas->SetBackgroundMode(TBackgroundMode::bmTransparent);
    return canvas;
  }

  Win32FontCache m_fonts;
};

// The ink of "Ab" drawn at (60, 60) lies where the text's extent says, turned with the
// escapement: to the right and below at 0, above and to the right at 900, below and to
// the left at 2700.
TEST_F(Win32CanvasText, TextLandsInItsExtentTurnedByTheEscapement) {
  struct TCase {
    int Escapement;
    bool Inside(const TRect& ink, TSize extent) const {
      const int w = extent.Width + 2, h = extent.Height + 2;  // antialiasing may spill a pixel
      switch (Escapement) {
        case 900:
          return ink.Left >= 58 && ink.Right <= 60 + h && ink.Top >= 60 - w && ink.Bottom <= 62;
        case 2700:
          return ink.Left >= 60 - h && ink.Right <= 62 && ink.Top >= 58 && ink.Bottom <= 60 + w;
        default:
          return ink.Left >= 58 && ink.Right <= 60 + w && ink.Top >= 58 && ink.Bottom <= 60 + h;
      }
    }
  };
  for (const TCase& c : {TCase{0}, TCase{900}, TCase{2700}}) {
    SCOPED_TRACE(c.Escapement);
    auto canvas = WhiteCanvas();
    canvas->SetFont({.Name = "Tahoma", .Height = -20, .Escapement = c.Escapement});
    EXPECT_TRUE(canvas->FontIsTrueType());
    const TSize extent = canvas->TextExtent("Ab");
    EXPECT_GT(extent.Width, 10);
    canvas->TextOut({60, 60}, "Ab");
    const TRect ink = InkBounds(*canvas);
    EXPECT_FALSE(ink.IsEmpty());
    EXPECT_TRUE(c.Inside(ink, extent)) << ink.Left << "," << ink.Top << "," << ink.Right << "," << ink.Bottom;
  }
}

TEST_F(Win32CanvasText, DrawTextMeasuresWrapsAndFillsTextPaths) {
  auto canvas = WhiteCanvas();
  canvas->SetFont({.Name = "Tahoma", .Height = -16});
  const int line = canvas->TextExtent("a").Height;
  TRect one{0, 0, 500, 100};
  EXPECT_EQ(canvas->DrawText(one, "aaa bbb", dtCalcRect | dtSingleLine), line);
  EXPECT_EQ(one.Right, canvas->TextExtent("aaa bbb").Width);
  TRect wrapped{0, 0, canvas->TextExtent("aaa b").Width, 100};
  EXPECT_EQ(canvas->DrawText(wrapped, "aaa bbb", dtCalcRect | dtWordBreak), 2 * line);
  EXPECT_EQ(InkBounds(*canvas), (TRect{120, 120, 0, 0})) << "measuring draws nothing";

  canvas->SetBrush(clBlack);
  canvas->BeginPath();
  canvas->TextOut({10, 10}, "W");
  canvas->EndPath();
  EXPECT_TRUE(InkBounds(*canvas).IsEmpty()) << "text in a path is not drawn";
  canvas->FillPath();
  EXPECT_FALSE(InkBounds(*canvas).IsEmpty());
}

// Font and text colour live in the device context; the canvas answers them from its
// own record, which must follow Save and Restore. A restore never goes behind the
// state the canvas started with.
TEST_F(Win32CanvasText, FontAndTextColourFollowSaveAndRestore) {
  auto canvas = WhiteCanvas();
  const TFontSpec first{.Name = "Tahoma", .Height = -11};
  const TFontSpec second{.Name = "Tahoma", .Height = -30, .Bold = true};
  canvas->SetFont(first);
  const int level = canvas->Save();
  canvas->SetFont(second);
  canvas->SetTextColor(clRed);
  canvas->Save();
  canvas->SetWindowOrigin({5, 5});
  canvas->Restore(level);
  EXPECT_EQ(canvas->Font(), first);
  EXPECT_EQ(canvas->TextColor(), clBlack);
  EXPECT_EQ(canvas->WindowOrigin(), (TPoint{0, 0}));
  EXPECT_EQ(canvas->TextExtent("a").Height, Win32BitmapCanvas(1, 1, m_fonts).TextExtent("a", first).Height);

  canvas->SetTextColor(clBlue);
  canvas->Restore();  // nothing saved any more
  EXPECT_EQ(canvas->TextColor(), clBlue);
  canvas->TextOut({0, 0}, "x");
  EXPECT_FALSE(InkBounds(*canvas).IsEmpty());
}

TEST(Win32Fonts, EscapementAndStrikeOutMakeTheirOwnFonts) {
  Win32FontCache fonts;
  const TFontSpec plain{.Name = "Tahoma", .Height = -12};
  TFontSpec turned = plain, struck = plain, coloured = plain;
  turned.Escapement = 900;
  struck.StrikeOut = true;
  coloured.Color = clRed;
  EXPECT_NE(fonts.FontFor(plain), fonts.FontFor(turned));
  EXPECT_NE(fonts.FontFor(plain), fonts.FontFor(struck));
  EXPECT_EQ(fonts.FontFor(plain), fonts.FontFor(coloured));
  LOGFONTW logical{};
  GetObjectW(fonts.FontFor(turned), sizeof(logical), &logical);
  EXPECT_EQ(logical.lfEscapement, 900);
  EXPECT_EQ(logical.lfOrientation, 900);
  GetObjectW(fonts.FontFor(struck), sizeof(logical), &logical);
  EXPECT_TRUE(logical.lfStrikeOut);
}

}  // namespace
}  // namespace vormix
