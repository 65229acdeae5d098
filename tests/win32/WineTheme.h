#pragma once
// Switching the visual-styles theme off and on under Wine, the way its own settings
// program does (the library's unnamed theme-file operations), and the user's setting
// that a newly started program reads. Everything switched is restored by the scope.
#include <windows.h>

#include <string>

namespace vormix::wine {

inline bool RunningUnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

constexpr const wchar_t* kThemeManagerKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";

// The ThemeActive setting: "1", "0" or "" when there is none.
inline std::wstring ThemeActiveSetting() {
  wchar_t value[16] = {};
  DWORD size = sizeof value;
  if (RegGetValueW(HKEY_CURRENT_USER, kThemeManagerKey, L"ThemeActive", RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS)
    return {};
  return value;
}

inline void SetThemeSetting(const wchar_t* name, const std::wstring& value) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kThemeManagerKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return;
  RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

inline void SetThemeActiveSetting(const std::wstring& value) { SetThemeSetting(L"ThemeActive", value); }

inline std::wstring ThemeSetting(const wchar_t* name) {
  wchar_t value[MAX_PATH] = {};
  DWORD size = sizeof value;
  if (RegGetValueW(HKEY_CURRENT_USER, kThemeManagerKey, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
    return {};
  return value;
}

// The user's setting for the programs started while the scope lasts: with the theme
// off, a program draws classic from its start. The setting is put back at the end.
class TThemeSettingScope {
 public:
  explicit TThemeSettingScope(bool on) : m_saved(ThemeActiveSetting()) { SetThemeActiveSetting(on ? L"1" : L"0"); }
  ~TThemeSettingScope() { SetThemeActiveSetting(m_saved.empty() ? L"1" : m_saved); }
  TThemeSettingScope(const TThemeSettingScope&) = delete;
  TThemeSettingScope& operator=(const TThemeSettingScope&) = delete;

 private:
  std::wstring m_saved;
};

// Switches the theme of the running process (and tells every top-level window). Wine
// forgets the theme's file when it is switched off, so the settings for programs
// started later are put back as they were when the scope ends.
class TThemeSwitch {
 public:
  TThemeSwitch()
      : m_saved(ThemeActiveSetting()),
        m_file(ThemeSetting(L"DllName")),
        m_color(ThemeSetting(L"ColorName")),
        m_size(ThemeSetting(L"SizeName")) {
    HMODULE uxtheme = LoadLibraryW(L"uxtheme.dll");
    m_open = reinterpret_cast<OpenThemeFileFn>(reinterpret_cast<void*>(GetProcAddress(uxtheme, MAKEINTRESOURCEA(2))));
    m_close = reinterpret_cast<CloseThemeFileFn>(reinterpret_cast<void*>(GetProcAddress(uxtheme, MAKEINTRESOURCEA(3))));
    m_apply = reinterpret_cast<ApplyThemeFn>(reinterpret_cast<void*>(GetProcAddress(uxtheme, MAKEINTRESOURCEA(4))));
  }
  ~TThemeSwitch() {
    if (m_switchedOff) Set(true);
    if (!m_file.empty()) {
      SetThemeSetting(L"DllName", m_file);
      SetThemeSetting(L"ColorName", m_color);
      SetThemeSetting(L"SizeName", m_size);
    }
    SetThemeActiveSetting(m_saved);
  }
  TThemeSwitch(const TThemeSwitch&) = delete;
  TThemeSwitch& operator=(const TThemeSwitch&) = delete;

  bool Available() const { return RunningUnderWine() && m_open && m_close && m_apply && !m_file.empty(); }

  bool Set(bool on) {
    if (!Available()) return false;
    m_switchedOff = !on;
    if (!on) return SUCCEEDED(m_apply(nullptr, const_cast<char*>(""), nullptr));
    HANDLE theme = nullptr;
    if (FAILED(m_open(m_file.c_str(), m_color.c_str(), m_size.c_str(), &theme, 0)))
      return false;
    const bool applied = SUCCEEDED(m_apply(theme, const_cast<char*>(""), nullptr));
    m_close(theme);
    return applied;
  }

 private:
  using OpenThemeFileFn = HRESULT(WINAPI*)(LPCWSTR, LPCWSTR, LPCWSTR, HANDLE*, DWORD);
  using CloseThemeFileFn = HRESULT(WINAPI*)(HANDLE);
  using ApplyThemeFn = HRESULT(WINAPI*)(HANDLE, char*, HWND);
  std::wstring m_saved, m_file, m_color, m_size;
  OpenThemeFileFn m_open = nullptr;
  CloseThemeFileFn m_close = nullptr;
  ApplyThemeFn m_apply = nullptr;
  bool m_switchedOff = false;
};

}  // namespace vormix::wine
