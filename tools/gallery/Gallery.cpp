// Draws every painter operation the controls use, in every state, with the Standard and
// the native painter, one small picture per drawing, and lists them in a manifest that
// script/gallery turns into labelled sheets. Natively it draws on the memory canvas
// with the scriptable theme library (theme active, active with every class failing,
// inactive); built for Windows it draws through GDI and the system's theme library,
// in the theme the system is in (script/gallery runs it with the theme on and off).
//
// Usage: vormix_gallery <output folder>
// (The system's headers come first: they turn DrawText and TextOut into macros, and the
// canvas must see the same names wherever it is used in one file.)
#ifdef _WIN32
#include <windows.h>

#include "platform/win32/Win32Canvas.h"
#include "platform/win32/Win32ThemeLibrary.h"
#include "platform/win32/Win32WindowSystem.h"
#else
#include "platform/memory/MemoryServices.h"
#include "platform/memory/MemoryThemeLibrary.h"
#include "platform/memory/MemoryWindowSystem.h"
#endif

#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "lookandfeel/cxLookAndFeels.h"
#include "platform/memory/MemoryCanvas.h"
#include "platform/memory/Png.h"

namespace vormix {
namespace {

constexpr TcxButtonState kStates[] = {cxbsDefault, cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled};
const char* StateName(TcxButtonState s) {
  static const char* names[] = {"default", "normal", "hot", "pressed", "disabled"};
  return names[s];
}
const char* DirectionName(TcxArrowDirection d) {
  static const char* names[] = {"up", "down", "left", "right"};
  return names[d];
}

struct TCell {
  std::string Label;
  TSize Size;
  std::function<void(const TcxCustomLookAndFeelPainter&, ICanvas&)> Draw;
};

// Every drawing, in sheet order.
std::vector<TCell> Cells() {
  std::vector<TCell> cells;
  for (TcxButtonState s : kStates)
    cells.push_back({std::string("push ") + StateName(s), {70, 25}, [s](auto& p, ICanvas& c) {
                       p.PaintPushButton(c, {0, 0, 70, 25}, "OK", s, true, clDefault, clDefault);
                       if (s == cxbsDefault) c.DrawFocusRect(p.PushFocusBounds(c, {0, 0, 70, 25}));
                     }});
  for (TcxButtonState s : kStates)
    cells.push_back({std::string("box ") + StateName(s), {24, 18}, [s](auto& p, ICanvas& c) {
                       p.PaintButtonBox(c, {0, 0, 24, 18}, s);
                     }});
  for (TcxArrowDirection d : {adUp, adDown, adLeft, adRight})
    for (TcxButtonState s : kStates)
      cells.push_back({std::string("arrow button ") + DirectionName(d) + " " + StateName(s), {17, 17},
                       [d, s](auto& p, ICanvas& c) { p.PaintArrowButton(c, {0, 0, 17, 17}, s, d, true); }});
  for (TcxButtonState s : kStates)
    cells.push_back({std::string("state arrow ") + StateName(s), {16, 16}, [s](auto& p, ICanvas& c) {
                       c.FillRect({0, 0, 16, 16}, clBtnFace);
                       p.PaintStateArrow(c, {0, 0, 16, 16}, s, adDown);
                     }});
  for (TcxArrowDirection d : {adUp, adDown, adLeft, adRight})
    cells.push_back({std::string("fill arrow ") + DirectionName(d), {11, 20}, [d](auto& p, ICanvas& c) {
                       c.FillRect({0, 0, 11, 20}, clWindow);
                       p.FillArrow(c, {0, 0, 11, 20}, d, clBtnText);
                     }});
  cells.push_back({"frame", {30, 20}, [](auto& p, ICanvas& c) {
                     c.FillRect({0, 0, 30, 20}, clWindow);
                     p.PaintFrame(c, {0, 0, 30, 20});
                   }});
  for (bool horizontal : {false, true})
    for (TcxScrollBarPart part : {sbpLineUp, sbpLineDown, sbpThumbnail, sbpPageUp, sbpPageDown})
      for (TcxButtonState s : kStates) {
        static const char* partNames[] = {"", "first arrow", "second arrow", "thumb", "page before", "page after"};
        const TSize size = horizontal ? TSize{34, 17} : TSize{17, 34};
        cells.push_back({std::string(horizontal ? "h " : "v ") + partNames[part] + " " + StateName(s), size,
                         [=](auto& p, ICanvas& c) {
                           c.FillRect({0, 0, size.Width, size.Height}, clWhite);
                           p.PaintScrollBarPart(c, horizontal, s, part, {0, 0, size.Width, size.Height});
                         }});
      }
  return cells;
}

// Draws every cell with both painters into the folder and appends it to the manifest.
void DrawSheet(ICanvas& root, const std::string& folder, const std::string& sheet, std::ofstream& manifest) {
  const std::vector<TCell> cells = Cells();
  const struct {
    const char* Name;
    const TcxCustomLookAndFeelPainter& Painter;
  } painters[] = {{"standard", StandardPainter()}, {"native", WinXPPainter()}};
  for (const auto& painter : painters) {
    const std::string name = sheet + "-" + painter.Name;
    int n = 0;
    for (const TCell& cell : cells) {
      auto bitmap = root.CreateBitmap(cell.Size.Width, cell.Size.Height);
      bitmap->FillRect({0, 0, cell.Size.Width, cell.Size.Height}, clBtnFace);
      bitmap->SetFont({"Tahoma", -11});
      cell.Draw(painter.Painter, *bitmap);
      char file[64];
      std::snprintf(file, sizeof file, "%s-%03d.png", name.c_str(), n++);
      WritePngFile(folder + "/" + file, bitmap->Image());
      manifest << name << '\t' << cell.Label << '\t' << file << '\n';
    }
  }
}

}  // namespace
}  // namespace vormix

int main(int argc, char** argv) {
  using namespace vormix;
  if (argc < 2) {
    std::fprintf(stderr, "usage: vormix_gallery <output folder>\n");
    return 2;
  }
  const std::string folder = argv[1];
  std::ofstream manifest(folder + "/manifest.tsv", std::ios::app | std::ios::binary);
#ifdef _WIN32
  Win32WindowSystem windows(GetModuleHandleW(nullptr));
  Win32ThemeLibrary themes;
  TcxLookAndFeelRuntime runtime(themes, &windows);
  HDC dc = CreateCompatibleDC(nullptr);
  {
    Win32Canvas root(dc, windows);
    DrawSheet(root, folder, ThemesReady() ? "gdi-theme-on" : "gdi-theme-off", manifest);
  }
  DeleteDC(dc);
#else
  MemoryBeep beep;
  MemoryClipboard clipboard;
  MemoryWindowSystem windows(beep, clipboard);
  MemoryThemeLibrary themes;
  TcxLookAndFeelRuntime runtime(themes, &windows);
  MemoryCanvas root(1, 1);
  DrawSheet(root, folder, "memory-theme-on", manifest);
  for (const char* cls : {"Button", "ScrollBar", "ListView"}) themes.SetClassOpens(cls, false);
  DrawSheet(root, folder, "memory-classes-fail", manifest);
  themes.Active = false;
  TdxThemeManager::Current()->ThemeChanged();
  DrawSheet(root, folder, "memory-theme-off", manifest);
#endif
  return 0;
}
