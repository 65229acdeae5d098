#include "platform/win32/Win32ThemeLibrary.h"

#include <commctrl.h>

#include <vector>

#include "platform/NativeWindow.h"
#include "platform/win32/Win32Text.h"

namespace vormix {

namespace {

// The library's types, declared here because nothing links against its header's import
// library; the values and layouts are those of the platform.
using HTHEME_ = HANDLE;
using OpenThemeDataFn = HTHEME_(WINAPI*)(HWND, LPCWSTR);
using CloseThemeDataFn = HRESULT(WINAPI*)(HTHEME_);
using IsThemeActiveFn = BOOL(WINAPI*)();
using DrawThemeBackgroundFn = HRESULT(WINAPI*)(HTHEME_, HDC, int, int, const RECT*, const RECT*);
using DrawThemeTextFn = HRESULT(WINAPI*)(HTHEME_, HDC, int, int, LPCWSTR, int, DWORD, DWORD, const RECT*);
using DrawThemeParentBackgroundFn = HRESULT(WINAPI*)(HWND, HDC, const RECT*);
using GetThemeBackgroundContentRectFn = HRESULT(WINAPI*)(HTHEME_, HDC, int, int, const RECT*, RECT*);
using GetThemeColorFn = HRESULT(WINAPI*)(HTHEME_, int, int, int, COLORREF*);
using GetThemePartSizeFn = HRESULT(WINAPI*)(HTHEME_, HDC, int, int, const RECT*, int, SIZE*);
using GetThemeBackgroundRegionFn = HRESULT(WINAPI*)(HTHEME_, HDC, int, int, const RECT*, HRGN*);
using DrawThemeEdgeFn = HRESULT(WINAPI*)(HTHEME_, HDC, int, int, const RECT*, UINT, UINT, RECT*);
using IsThemeBackgroundPartiallyTransparentFn = BOOL(WINAPI*)(HTHEME_, int, int);
using GetCurrentThemeNameFn = HRESULT(WINAPI*)(LPWSTR, int, LPWSTR, int, LPWSTR, int);

RECT ToRect(const TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }
TRect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
HTHEME_ ToTheme(TThemeHandle theme) { return reinterpret_cast<HTHEME_>(theme); }
HDC DcOf(ICanvas* canvas) { return canvas ? static_cast<HDC>(canvas->NativeHandle()) : nullptr; }

// The system version as the version query reports it to a program without a manifest
// entry of its own: enough to tell a system that has the library from one that has not.
bool SystemHasThemes() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof(info);  // 148 bytes
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
  if (!GetVersionExA(&info)) return false;
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
  return ThemesLibraryAvailableOn(info.dwMajorVersion, info.dwMinorVersion);
}

std::vector<RGNDATA> RegionData(HRGN region, DWORD& size) {
  size = GetRegionData(region, 0, nullptr);
  std::vector<RGNDATA> buffer(size / sizeof(RGNDATA) + 1);
  if (size == 0 || GetRegionData(region, size, buffer.data()) == 0) size = 0;
  return buffer;
}

TRegion ToRegion(HRGN region) {
  DWORD size = 0;
  std::vector<RGNDATA> data = RegionData(region, size);
  TRegion result;
  if (size == 0) return result;
  const RECT* rects = reinterpret_cast<const RECT*>(data.front().Buffer);
  for (DWORD i = 0; i < data.front().rdh.nCount; ++i) result = result.Union(TRegion(FromRect(rects[i])));
  return result;
}

}  // namespace

Win32ThemeLibrary::Win32ThemeLibrary() {
  InitCommonControls();
  if (!SystemHasThemes()) return;
  m_module = LoadLibraryW(L"UxTheme.dll");
  if (!m_module) return;
  for (const char* name : kThemeLibraryOperations) m_entries[name] = GetProcAddress(m_module, name);
}

Win32ThemeLibrary::~Win32ThemeLibrary() {
  if (m_module) FreeLibrary(m_module);
}

bool Win32ThemeLibrary::HasOperation(std::string_view name) const {
  auto found = m_entries.find(name);
  return found != m_entries.end() && found->second != nullptr;
}

template <class Function>
Function Win32ThemeLibrary::Entry(const char* name) const {
  auto found = m_entries.find(std::string_view(name));
  if (found == m_entries.end() || !found->second) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(found->second));
}

bool Win32ThemeLibrary::IsThemeActive() {
  auto call = Entry<IsThemeActiveFn>("IsThemeActive");
  return call && call();
}

TThemeHandle Win32ThemeLibrary::OpenThemeData(INativeWindow* window, std::string_view classList) {
  auto call = Entry<OpenThemeDataFn>("OpenThemeData");
  if (!call) return 0;
  HWND hwnd = window ? static_cast<HWND>(window->Handle()) : nullptr;
  return reinterpret_cast<TThemeHandle>(call(hwnd, Widen(classList).c_str()));
}

bool Win32ThemeLibrary::CloseThemeData(TThemeHandle theme) {
  auto call = Entry<CloseThemeDataFn>("CloseThemeData");
  return call && SUCCEEDED(call(ToTheme(theme)));
}

bool Win32ThemeLibrary::DrawThemeBackground(TThemeHandle theme, ICanvas& canvas, int part, int state,
                                            const TRect& rect, const TRect* clip) {
  auto call = Entry<DrawThemeBackgroundFn>("DrawThemeBackground");
  HDC dc = DcOf(&canvas);
  if (!call || !dc) return false;
  const RECT r = ToRect(rect);
  RECT c{};
  if (clip) c = ToRect(*clip);
  return SUCCEEDED(call(ToTheme(theme), dc, part, state, &r, clip ? &c : nullptr));
}

bool Win32ThemeLibrary::DrawThemeText(TThemeHandle theme, ICanvas& canvas, int part, int state,
                                      std::string_view text, TTextFlags flags, unsigned flags2, const TRect& rect) {
  auto call = Entry<DrawThemeTextFn>("DrawThemeText");
  HDC dc = DcOf(&canvas);
  if (!call || !dc) return false;
  const RECT r = ToRect(rect);
  const std::wstring wide = Widen(text);
  return SUCCEEDED(call(ToTheme(theme), dc, part, state, wide.c_str(), -1, flags, flags2, &r));
}

// The library selects fonts of its own into the device context while it asks the
// parent to paint; the caller's font must survive that.
bool Win32ThemeLibrary::DrawThemeParentBackground(INativeWindow& window, ICanvas& canvas, const TRect* rect) {
  auto call = Entry<DrawThemeParentBackgroundFn>("DrawThemeParentBackground");
  HDC dc = DcOf(&canvas);
  if (!call || !dc) return false;
  HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
  RECT r{};
  if (rect) r = ToRect(*rect);
  const HRESULT result = call(static_cast<HWND>(window.Handle()), dc, rect ? &r : nullptr);
  SelectObject(dc, font);
  return SUCCEEDED(result);
}

std::optional<TRect> Win32ThemeLibrary::GetThemeBackgroundContentRect(TThemeHandle theme, ICanvas* canvas, int part,
                                                                      int state, const TRect& bounds) {
  auto call = Entry<GetThemeBackgroundContentRectFn>("GetThemeBackgroundContentRect");
  if (!call) return {};
  const RECT b = ToRect(bounds);
  RECT content{};
  if (FAILED(call(ToTheme(theme), DcOf(canvas), part, state, &b, &content))) return {};
  return FromRect(content);
}

std::optional<TColor> Win32ThemeLibrary::GetThemeColor(TThemeHandle theme, int part, int state, int property) {
  auto call = Entry<GetThemeColorFn>("GetThemeColor");
  COLORREF color = 0;
  if (!call || FAILED(call(ToTheme(theme), part, state, property, &color))) return {};
  return static_cast<TColor>(color & 0xFFFFFF);
}

std::optional<TSize> Win32ThemeLibrary::GetThemePartSize(TThemeHandle theme, ICanvas* canvas, int part, int state,
                                                         const TRect* rect, TThemeSize size) {
  auto call = Entry<GetThemePartSizeFn>("GetThemePartSize");
  if (!call) return {};
  RECT r{};
  if (rect) r = ToRect(*rect);
  SIZE result{};
  if (FAILED(call(ToTheme(theme), DcOf(canvas), part, state, rect ? &r : nullptr, static_cast<int>(size), &result)))
    return {};
  return TSize{result.cx, result.cy};
}

std::optional<TRegion> Win32ThemeLibrary::GetThemeBackgroundRegion(TThemeHandle theme, ICanvas* canvas, int part,
                                                                   int state, const TRect& rect) {
  auto call = Entry<GetThemeBackgroundRegionFn>("GetThemeBackgroundRegion");
  if (!call) return {};
  const RECT r = ToRect(rect);
  HRGN region = nullptr;
  if (FAILED(call(ToTheme(theme), DcOf(canvas), part, state, &r, &region)) || !region) return {};
  TRegion result = ToRegion(region);
  DeleteObject(region);
  return result;
}

std::optional<TRect> Win32ThemeLibrary::DrawThemeEdge(TThemeHandle theme, ICanvas& canvas, int part, int state,
                                                      const TRect& rect, TEdgeFlags edge, TEdgeSides sides) {
  auto call = Entry<DrawThemeEdgeFn>("DrawThemeEdge");
  HDC dc = DcOf(&canvas);
  if (!call || !dc) return {};
  const RECT r = ToRect(rect);
  RECT content{};
  if (FAILED(call(ToTheme(theme), dc, part, state, &r, edge, sides | BF_ADJUST, &content))) return {};
  return FromRect(content);
}

bool Win32ThemeLibrary::IsThemeBackgroundPartiallyTransparent(TThemeHandle theme, int part, int state) {
  auto call = Entry<IsThemeBackgroundPartiallyTransparentFn>("IsThemeBackgroundPartiallyTransparent");
  return call && call(ToTheme(theme), part, state);
}

std::optional<IThemeLibrary::TThemeName> Win32ThemeLibrary::GetCurrentThemeName() {
  auto call = Entry<GetCurrentThemeNameFn>("GetCurrentThemeName");
  if (!call) return {};
  wchar_t file[MAX_PATH]{}, color[MAX_PATH]{}, size[MAX_PATH]{};
  if (FAILED(call(file, MAX_PATH, color, MAX_PATH, size, MAX_PATH))) return {};
  return TThemeName{Narrow(file), Narrow(color), Narrow(size)};
}

}  // namespace vormix
