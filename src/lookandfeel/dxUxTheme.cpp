#include "lookandfeel/dxUxTheme.h"

namespace vormix {

namespace {
IThemeLibrary* g_library = nullptr;
}  // namespace

TdxUxThemeBinding::TdxUxThemeBinding(IThemeLibrary& library) : m_previous(g_library) { g_library = &library; }

TdxUxThemeBinding::~TdxUxThemeBinding() { g_library = m_previous; }

IThemeLibrary* BoundThemeLibrary() { return g_library; }

bool IsThemeLibraryLoaded() { return g_library && g_library->IsLoaded(); }

bool DrawThemeBackground(TThemeHandle theme, ICanvas& canvas, int part, int state, const TRect& rect,
                         const TRect* clip) {
  return theme && g_library && g_library->DrawThemeBackground(theme, canvas, part, state, rect, clip);
}

bool DrawThemeText(TThemeHandle theme, ICanvas& canvas, int part, int state, std::string_view text,
                   TTextFlags flags, unsigned flags2, const TRect& rect) {
  return theme && g_library && g_library->DrawThemeText(theme, canvas, part, state, text, flags, flags2, rect);
}

bool DrawThemeParentBackground(INativeWindow& window, ICanvas& canvas, const TRect* rect) {
  return g_library && g_library->DrawThemeParentBackground(window, canvas, rect);
}

std::optional<TRect> GetThemeBackgroundContentRect(TThemeHandle theme, ICanvas* canvas, int part, int state,
                                                   const TRect& bounds) {
  if (!theme || !g_library) return {};
  return g_library->GetThemeBackgroundContentRect(theme, canvas, part, state, bounds);
}

std::optional<TColor> GetThemeColor(TThemeHandle theme, int part, int state, int property) {
  if (!theme || !g_library) return {};
  return g_library->GetThemeColor(theme, part, state, property);
}

std::optional<TSize> GetThemePartSize(TThemeHandle theme, ICanvas* canvas, int part, int state, const TRect* rect,
                                      TThemeSize size) {
  if (!theme || !g_library) return {};
  return g_library->GetThemePartSize(theme, canvas, part, state, rect, size);
}

bool IsThemeBackgroundPartiallyTransparent(TThemeHandle theme, int part, int state) {
  return theme && g_library && g_library->IsThemeBackgroundPartiallyTransparent(theme, part, state);
}

std::optional<IThemeLibrary::TThemeName> GetCurrentThemeName() {
  if (!g_library) return {};
  return g_library->GetCurrentThemeName();
}

}  // namespace vormix
