#include "platform/win32/Win32Fonts.h"

#include "platform/win32/Win32Text.h"

namespace vormix {

Win32FontCache::~Win32FontCache() {
  for (auto& [key, font] : m_fonts) DeleteObject(font);
}

HFONT Win32FontCache::FontFor(const TFontSpec& font) {
  TKey key{Widen(font.Name), font.Height, font.Bold, font.Italic, font.Underline, font.StrikeOut, font.Escapement};
  if (auto found = m_fonts.find(key); found != m_fonts.end()) return found->second;
  // Escapement and orientation go together: the characters turn with the line.
  HFONT handle =
      CreateFontW(font.Height, 0, font.Escapement, font.Escapement, font.Bold ? FW_BOLD : FW_NORMAL, font.Italic,
                  font.Underline, font.StrikeOut, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                  DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, std::get<0>(key).c_str());
  m_fonts.emplace(std::move(key), handle);
  return handle;
}

}  // namespace vormix
