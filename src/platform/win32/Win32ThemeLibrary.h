#pragma once
// "UxTheme.dll", bound at run time by name. Nothing links against it: on a system
// without it (or without one of its operations) the calls simply fail.
#include <windows.h>

#include <map>
#include <string>

#include "platform/ThemeLibrary.h"

namespace vormix {

class Win32ThemeLibrary : public IThemeLibrary {
 public:
  Win32ThemeLibrary();  // reads the system version, loads the library if there is one
  ~Win32ThemeLibrary() override;
  Win32ThemeLibrary(const Win32ThemeLibrary&) = delete;
  Win32ThemeLibrary& operator=(const Win32ThemeLibrary&) = delete;

  bool IsLoaded() const override { return m_module != nullptr; }
  bool HasOperation(std::string_view name) const override;
  bool IsThemeActive() override;
  TThemeHandle OpenThemeData(INativeWindow* window, std::string_view classList) override;
  bool CloseThemeData(TThemeHandle theme) override;
  bool DrawThemeBackground(TThemeHandle theme, ICanvas& canvas, int part, int state, const TRect& rect,
                           const TRect* clip) override;
  bool DrawThemeText(TThemeHandle theme, ICanvas& canvas, int part, int state, std::string_view text,
                     TTextFlags flags, unsigned flags2, const TRect& rect) override;
  bool DrawThemeParentBackground(INativeWindow& window, ICanvas& canvas, const TRect* rect) override;
  std::optional<TRect> GetThemeBackgroundContentRect(TThemeHandle theme, ICanvas* canvas, int part, int state,
                                                     const TRect& bounds) override;
  std::optional<TColor> GetThemeColor(TThemeHandle theme, int part, int state, int property) override;
  std::optional<TSize> GetThemePartSize(TThemeHandle theme, ICanvas* canvas, int part, int state,
                                        const TRect* rect, TThemeSize size) override;
  std::optional<TRegion> GetThemeBackgroundRegion(TThemeHandle theme, ICanvas* canvas, int part, int state,
                                                  const TRect& rect) override;
  std::optional<TRect> DrawThemeEdge(TThemeHandle theme, ICanvas& canvas, int part, int state, const TRect& rect,
                                     TEdgeFlags edge, TEdgeSides sides) override;
  bool IsThemeBackgroundPartiallyTransparent(TThemeHandle theme, int part, int state) override;
  std::optional<TThemeName> GetCurrentThemeName() override;

 private:
  // The bound entry point of an operation, cast to its type; null when the library or
  // the operation is missing.
  template <class Function>
  Function Entry(const char* name) const;

  HMODULE m_module = nullptr;
  std::map<std::string, FARPROC, std::less<>> m_entries;
};

}  // namespace vormix
