#pragma once
// A form on the memory desktop with a text editor first in tab order and a numeric field
// set up as the main window's are (the standard look with native style, 75 x 20), for
// tests that look at the field's picture. The system colours get a scheme in which the
// ones the frames use all differ, and each reads as a letter in a picture:
//   w window, F window frame, f button face, s shadow, h highlight, d dark shadow,
//   l light, t button text, H selection highlight, ? anything else.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "editors/EditorForm.h"
#include "editors/cxSpinEdit.h"

namespace vormix {

class FrameForm : public EditorDesk {
 public:
  FrameForm() {
    for (const TColorLetter& c : kLetters)
      if (IsSystemColor(c.Color)) SetMemorySystemColor(SystemColorIndex(c.Color), c.Rgb);
    // The column of the field's buttons is 16 pixels wide, as on a classic desktop.
    desk.windows.SetSystemMetric(TSystemMetric::smCyHScroll, 16);
    field->Style().LookAndFeel.SetKind(TcxLookAndFeelKind::lfStandard);
    field->Style().LookAndFeel.SetNativeStyle(true);
    form.Show();
  }

  MemoryWindow& Frame() const { return *desk.WindowOf(*field); }
  // Paints the field now and answers its picture, a string of letters per row.
  std::vector<std::string> Picture() { return Picture({0, 0, field->Width(), field->Height()}); }
  std::vector<std::string> Picture(const TRect& area) {
    Frame().PaintNow();
    std::vector<std::string> rows;
    for (int y = area.Top; y < area.Bottom; ++y) {
      std::string row;
      for (int x = area.Left; x < area.Right; ++x) row += Letter(Frame().Canvas().Pixel(x, y));
      rows.push_back(row);
    }
    return rows;
  }
  TColor PixelAt(int x, int y) {
    Frame().PaintNow();
    return Frame().Canvas().Pixel(x, y);
  }
  static TColor Rgb(TColor color) { return ResolveMemoryColor(color); }

  // The pointer over the field, and the left button held or let go there.
  void Hover(TPoint at) { desk.windows.MoveMouse(Frame(), at); }
  void Press(TPoint at) { desk.windows.MouseDown(Frame(), at); }
  void Release(TPoint at) { desk.windows.MouseUp(Frame(), at); }
  // Somewhere on the form away from the field.
  void HoverAway() { desk.windows.MoveMouse(*form.Window(), {300, 200}); }

  const TcxEditButtonViewInfo& Button(int index) const {
    for (const TcxEditButtonViewInfo& b : field->ViewInfo().Buttons)
      if (b.Index == index) return b;
    ADD_FAILURE() << "no button " << index;
    return field->ViewInfo().Buttons.front();
  }

  struct TColorLetter {
    TColor Color;
    TColor Rgb;
    char Letter;
  };
  static constexpr TColorLetter kLetters[] = {
      {clWindow, 0xFFFFFF, 'w'},       {clWindowFrame, 0x101010, 'F'}, {clBtnFace, 0xD0D0D0, 'f'},
      {clBtnShadow, 0x808080, 's'},    {clBtnHighlight, 0xF8F8F8, 'h'}, {cl3DDkShadow, 0x404040, 'd'},
      {cl3DLight, 0xE0E0E0, 'l'},      {clBtnText, 0x202020, 't'},     {clHighlight, 0xC06020, 'H'},
  };
  static char Letter(TColor rgb) {
    for (const TColorLetter& c : kLetters)
      if (c.Rgb == rgb) return c.Letter;
    return '?';
  }

  TMemorySystemColorScope colors;  // before the form: the scheme goes back once the form is gone
  TCustomForm form{desk.app, "Form"};
  std::unique_ptr<TcxTextEdit> other = Place<TcxTextEdit>(form, "other", 8, 8, 120, 21);
  std::unique_ptr<TcxSpinEdit> field = Place<TcxSpinEdit>(form, "field", 8, 40, 75, 20);
};

using Rows = std::vector<std::string>;

}  // namespace vormix
