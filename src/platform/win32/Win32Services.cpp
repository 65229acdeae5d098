#include "platform/win32/Win32Services.h"

#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <vector>

#include "platform/win32/Win32Text.h"

namespace vormix {

namespace {

HWND HwndOf(INativeWindow* window) { return window ? static_cast<HWND>(window->Handle()) : nullptr; }

}  // namespace

void Win32MessageBox::Show(INativeWindow* owner, const std::string& text, const std::string& caption,
                           TMessageIcon icon) {
  const UINT flags = MB_OK | (icon == TMessageIcon::Error ? MB_ICONERROR : MB_ICONINFORMATION);
  MessageBoxW(HwndOf(owner), Widen(text).c_str(), Widen(caption).c_str(), flags);
}

void Win32Beep::MessageBeep(unsigned type) { ::MessageBeep(type); }

// ---------------------------------------------------------------------------------------
// The save dialog

namespace {

// The explorer-style dialog calls its hook with the child dialog it hosts; the dialog
// itself is that child's parent. Once it has laid itself out it is moved where the
// program wants it.
UINT_PTR CALLBACK SaveDialogHook(HWND child, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(child, GWLP_USERDATA, reinterpret_cast<OPENFILENAMEW*>(lParam)->lCustData);
    return 0;
  }
  if (message != WM_NOTIFY || reinterpret_cast<NMHDR*>(lParam)->code != CDN_INITDONE) return 0;
  const auto* request = reinterpret_cast<const TSaveDialogRequest*>(GetWindowLongPtrW(child, GWLP_USERDATA));
  if (!request || !request->Place) return 0;
  HWND dialog = GetParent(child);
  HWND active = GetActiveWindow();
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(active ? active : dialog, MONITOR_DEFAULTTONEAREST), &monitor);
  RECT box{};
  GetWindowRect(dialog, &box);
  const RECT& work = monitor.rcWork;
  const TPoint at = request->Place({work.left, work.top, work.right, work.bottom},
                                   {box.right - box.left, box.bottom - box.top});
  SetWindowPos(dialog, nullptr, at.X, at.Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return 0;
}

std::wstring FilterList(const std::string& filter) {
  std::wstring list = Widen(filter);
  for (wchar_t& c : list)
    if (c == L'|') c = L'\0';
  list.push_back(L'\0');
  list.push_back(L'\0');
  return list;
}

}  // namespace

bool Win32SaveDialog::Execute(const TSaveDialogRequest& request, std::string& chosenPath) {
  constexpr std::size_t kNameLength = 260;
  std::vector<wchar_t> name(kNameLength + 1, L'\0');
  const std::wstring initialName = Widen(request.FileName).substr(0, kNameLength - 1);
  std::copy(initialName.begin(), initialName.end(), name.begin());
  const std::wstring filter = FilterList(request.Filter);
  const std::wstring defaultExt = Widen(request.DefaultExt);
  const std::wstring initialDir = Widen(request.InitialDir);
  const std::wstring title = Widen(request.Title);

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = HwndOf(request.Owner);
  ofn.lpstrFilter = request.Filter.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = static_cast<DWORD>(request.FilterIndex);
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = static_cast<DWORD>(kNameLength);
  ofn.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
  ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
  ofn.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_ENABLEHOOK;
  if (request.OverwritePrompt) ofn.Flags |= OFN_OVERWRITEPROMPT;
  if (request.HideReadOnly) ofn.Flags |= OFN_HIDEREADONLY;
  if (request.EnableSizing) ofn.Flags |= OFN_ENABLESIZING;
  ofn.lpfnHook = SaveDialogHook;
  ofn.lCustData = reinterpret_cast<LPARAM>(&request);
  if (!GetSaveFileNameW(&ofn)) return false;
  chosenPath = Narrow(name.data());
  return true;
}

// ---------------------------------------------------------------------------------------
// Files

namespace {

class Win32File : public IWritableFile {
 public:
  explicit Win32File(HANDLE handle) : m_handle(handle) {}
  ~Win32File() override { CloseHandle(m_handle); }
  std::size_t Write(std::string_view bytes) override {
    DWORD written = 0;
    if (bytes.empty()) return 0;
    if (!WriteFile(m_handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) return written;
    return written;
  }

 private:
  HANDLE m_handle;
};

}  // namespace

TFileCreateResult Win32FileSystem::CreateNew(const std::string& path) {
  TFileCreateResult result;
  HANDLE handle = CreateFileW(Widen(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    result.ErrorText = SystemErrorText(GetLastError());
    return result;
  }
  result.File = std::make_unique<Win32File>(handle);
  return result;
}

// ---------------------------------------------------------------------------------------
// Code page

Win32CodePage::Win32CodePage() : m_codePage(GetACP()) {}

namespace {

// The code pages whose conversion takes no flags and no default-character report: the
// system refuses the call when it is asked for either.
bool TakesNoFlags(unsigned codePage) {
  return codePage == CP_UTF8 || codePage == CP_UTF7 || codePage == 42 || codePage == 52936 ||
         codePage == 54936 || (codePage >= 50220 && codePage <= 50229) || (codePage >= 57002 && codePage <= 57011);
}

// Converts without best-fit replacements, so that a character the code page lacks is
// reported instead of being written as something else. A code page that takes no flags
// is converted plainly, and a character counts as missing when its bytes do not read
// back as it (UTF-8 has a form for every character).
bool ToBytes(const std::wstring& wide, unsigned codePage, std::string& out) {
  out.clear();
  if (wide.empty()) return true;
  const int length = static_cast<int>(wide.size());
  const bool plain = TakesNoFlags(codePage);
  const DWORD flags = plain ? (codePage == CP_UTF8 ? WC_ERR_INVALID_CHARS : 0) : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* report = plain ? nullptr : &usedDefault;
  const int size = WideCharToMultiByte(codePage, flags, wide.data(), length, nullptr, 0, nullptr, report);
  if (size <= 0) return false;
  out.assign(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(codePage, flags, wide.data(), length, out.data(), size, nullptr, report);
  if (plain) return Widen(Win32CodePage::FromCodePage(out, codePage)) == wide;
  return !usedDefault;
}

}  // namespace

TAnsiConversion Win32CodePage::ToCodePage(std::string_view utf8, unsigned codePage) {
  TAnsiConversion result;
  const std::wstring wide = Widen(utf8);
  if (ToBytes(wide, codePage, result.Bytes)) return result;
  result.Complete = false;
  result.Bytes.clear();
  // Find the first character without a form, for the message.
  for (std::size_t i = 0; i < wide.size(); ++i) {
    const std::size_t n = (IS_HIGH_SURROGATE(wide[i]) && i + 1 < wide.size()) ? 2 : 1;
    std::string bytes;
    if (!ToBytes(wide.substr(i, n), codePage, bytes)) {
      result.FirstMissing = Narrow(wide.substr(i, n));
      break;
    }
    i += n - 1;
  }
  return result;
}

std::string Win32CodePage::FromCodePage(std::string_view bytes, unsigned codePage) {
  if (bytes.empty()) return {};
  const int length = static_cast<int>(bytes.size());
  const int size = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
  if (size <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), length, wide.data(), size);
  return Narrow(wide);
}

// ---------------------------------------------------------------------------------------
// Shell and clipboard

void Win32Shell::OpenAddress(INativeWindow* owner, const std::string& address) {
  ShellExecuteW(HwndOf(owner), L"open", Widen(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

std::optional<std::string> Win32Clipboard::Text() const {
  if (!OpenClipboard(nullptr)) return std::nullopt;
  std::optional<std::string> text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = Narrow(chars);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

void Win32Clipboard::SetText(const std::string& text) {
  const std::wstring wide = Widen(text);
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t))) {
    auto* chars = static_cast<wchar_t*>(GlobalLock(memory));
    std::copy(wide.c_str(), wide.c_str() + wide.size() + 1, chars);
    GlobalUnlock(memory);
    if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
  }
  CloseClipboard();
}

}  // namespace vormix
