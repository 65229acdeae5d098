#pragma once
// The process's binding of the visual-styles library, and thin wrappers over it with the
// platform's argument order. Without a bound library every wrapper fails, so drawing
// code only ever asks and falls back; it never needs to know why a call failed.
#include "platform/ThemeLibrary.h"

namespace vormix {

// Makes a library the bound one for its lifetime (the first step of start-up).
class TdxUxThemeBinding {
 public:
  explicit TdxUxThemeBinding(IThemeLibrary& library);
  ~TdxUxThemeBinding();
  TdxUxThemeBinding(const TdxUxThemeBinding&) = delete;
  TdxUxThemeBinding& operator=(const TdxUxThemeBinding&) = delete;

 private:
  IThemeLibrary* m_previous;
};

// The bound library, or null; IsThemeLibraryLoaded says whether it is really there.
IThemeLibrary* BoundThemeLibrary();
bool IsThemeLibraryLoaded();

bool DrawThemeBackground(TThemeHandle theme, ICanvas& canvas, int part, int state, const TRect& rect,
                         const TRect* clip = nullptr);
bool DrawThemeText(TThemeHandle theme, ICanvas& canvas, int part, int state, std::string_view text,
                   TTextFlags flags, unsigned flags2, const TRect& rect);
bool DrawThemeParentBackground(INativeWindow& window, ICanvas& canvas, const TRect* rect);
std::optional<TRect> GetThemeBackgroundContentRect(TThemeHandle theme, ICanvas* canvas, int part, int state,
                                                   const TRect& bounds);
std::optional<TColor> GetThemeColor(TThemeHandle theme, int part, int state, int property);
std::optional<TSize> GetThemePartSize(TThemeHandle theme, ICanvas* canvas, int part, int state, const TRect* rect,
                                      TThemeSize size);
bool IsThemeBackgroundPartiallyTransparent(TThemeHandle theme, int part, int state);
std::optional<IThemeLibrary::TThemeName> GetCurrentThemeName();

// Theme property ids the controls ask for.
constexpr int TMT_FILLCOLOR = 3802, TMT_TEXTCOLOR = 3803, TMT_BUTTONFACE = 204;

}  // namespace vormix
