#pragma once
// The system's visual-styles library: open themes by class, draw their parts, ask their
// sizes, colours and content rectangles. On Windows it is "UxTheme.dll", bound at run
// time by name; every operation answers failure (0, false, no value) when the library
// is not loaded or lacks that operation, so a caller never needs to know which.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/Color.h"
#include "base/Geometry.h"
#include "base/Region.h"
#include "platform/Canvas.h"

namespace vormix {

class INativeWindow;

// An open theme; 0 is none.
using TThemeHandle = std::uintptr_t;

// The two sizes GetThemePartSize can report (Windows' THEMESIZE values).
enum class TThemeSize { tsMin = 0, tsTrue = 1, tsDraw = 2 };

// The visual-styles library exists from system version 5.1 on; older systems draw classic.
constexpr bool ThemesLibraryAvailableOn(unsigned major, unsigned minor) {
  return major > 5 || (major == 5 && minor >= 1);
}

// Every name the library is asked for at binding time, in lookup order.
inline constexpr const char* kThemeLibraryOperations[] = {
    "CloseThemeData", "DrawThemeBackground", "DrawThemeEdge", "DrawThemeIcon",
    "DrawThemeParentBackground", "DrawThemeText", "EnableThemeDialogTexture",
    "GetCurrentThemeName", "GetThemeAppProperties", "GetThemeBackgroundContentRect",
    "GetThemeBackgroundRegion", "GetThemeBackgroundExtent", "GetThemeBool", "GetThemeColor",
    "GetThemeDocumentationProperty", "GetThemeEnumValue", "GetThemeFilename", "GetThemeFont",
    "GetThemeInt", "GetThemeIntList", "GetThemeMargins", "GetThemeMetric", "GetThemePartSize",
    "GetThemePosition", "GetThemePropertyOrigin", "GetThemeRect", "GetThemeString",
    "GetThemeSysBool", "GetThemeSysColor", "GetThemeSysColorBrush", "GetThemeSysFont",
    "GetThemeSysInt", "GetThemeSysSize", "GetThemeSysString", "GetThemeTextExtent",
    "GetThemeTextMetrics", "GetWindowTheme", "HitTestThemeBackground", "IsAppThemed",
    "IsThemeActive", "IsThemePartDefined", "IsThemeBackgroundPartiallyTransparent",
    "IsThemeDialogTextureEnabled", "OpenThemeData", "SetThemeAppProperties", "SetWindowTheme"};

class IThemeLibrary {
 public:
  virtual ~IThemeLibrary() = default;

  // Whether the library is bound (and the system new enough to have one).
  virtual bool IsLoaded() const = 0;
  // Every name the library was asked for, and whether it was found.
  virtual bool HasOperation(std::string_view name) const = 0;

  virtual bool IsThemeActive() = 0;
  virtual TThemeHandle OpenThemeData(INativeWindow* window, std::string_view classList) = 0;
  virtual bool CloseThemeData(TThemeHandle theme) = 0;
  virtual bool DrawThemeBackground(TThemeHandle theme, ICanvas& canvas, int part, int state,
                                   const TRect& rect, const TRect* clip) = 0;
  virtual bool DrawThemeText(TThemeHandle theme, ICanvas& canvas, int part, int state,
                             std::string_view text, TTextFlags flags, unsigned flags2,
                             const TRect& rect) = 0;
  // Paints what the parent of the window shows behind rect (the whole client area when
  // null). The font selected into the canvas survives it.
  virtual bool DrawThemeParentBackground(INativeWindow& window, ICanvas& canvas,
                                         const TRect* rect) = 0;
  // canvas may be null where the caller has no device context to offer.
  virtual std::optional<TRect> GetThemeBackgroundContentRect(TThemeHandle theme, ICanvas* canvas,
                                                             int part, int state,
                                                             const TRect& bounds) = 0;
  virtual std::optional<TColor> GetThemeColor(TThemeHandle theme, int part, int state,
                                              int property) = 0;
  virtual std::optional<TSize> GetThemePartSize(TThemeHandle theme, ICanvas* canvas, int part,
                                                int state, const TRect* rect, TThemeSize size) = 0;
  virtual std::optional<TRegion> GetThemeBackgroundRegion(TThemeHandle theme, ICanvas* canvas,
                                                          int part, int state,
                                                          const TRect& rect) = 0;
  // Answers the content rectangle left inside the edge.
  virtual std::optional<TRect> DrawThemeEdge(TThemeHandle theme, ICanvas& canvas, int part,
                                             int state, const TRect& rect, TEdgeFlags edge,
                                             TEdgeSides sides) = 0;
  virtual bool IsThemeBackgroundPartiallyTransparent(TThemeHandle theme, int part, int state) = 0;
  // The file name of the current visual style, its colour scheme and size.
  struct TThemeName {
    std::string FileName, ColorName, SizeName;
  };
  virtual std::optional<TThemeName> GetCurrentThemeName() = 0;
};

}  // namespace vormix
