#pragma once
// Native fonts for the program's font descriptions. Each distinct description is
// created once and kept until the cache goes: canvases and windows select them freely
// without owning them.
#include <windows.h>

#include <map>
#include <string>
#include <tuple>

#include "platform/Canvas.h"

namespace vormix {

class Win32FontCache {
 public:
  Win32FontCache() = default;
  ~Win32FontCache();
  Win32FontCache(const Win32FontCache&) = delete;
  Win32FontCache& operator=(const Win32FontCache&) = delete;

  // The text colour of the description is not part of a native font.
  HFONT FontFor(const TFontSpec& font);

 private:
  using TKey = std::tuple<std::wstring, int, bool, bool, bool, bool, int>;
  std::map<TKey, HFONT> m_fonts;
};

}  // namespace vormix
