#include "Driver.h"

#include <algorithm>
#include <cstring>

namespace vormix::e2e {

std::wstring W(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return wide;
}

std::string U(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n, nullptr, nullptr);
  return utf8;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(20);
  }
  return true;
}

std::wstring VormixExePath() {
  std::string dir = VORMIX_EXE_DIR;
  // The build tree is a Linux path; under Wine it is reachable through drive Z:.
  if (!dir.empty() && dir[0] == '/') dir = "Z:" + dir;
  std::replace(dir.begin(), dir.end(), '/', '\\');
  return W(dir + "\\vormix.exe");
}

namespace {

struct TFindWindow {
  DWORD ProcessId;
  const wchar_t* Caption;
  HWND Found = nullptr;
};

BOOL CALLBACK FindTopLevel(HWND hwnd, LPARAM param) {
  auto* find = reinterpret_cast<TFindWindow*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  wchar_t caption[256] = {};
  GetWindowTextW(hwnd, caption, 256);
  if (pid == find->ProcessId && IsWindowVisible(hwnd) && wcscmp(caption, find->Caption) == 0) {
    find->Found = hwnd;
    return FALSE;
  }
  return TRUE;
}

struct TFindChild {
  int Id;
  HWND Found = nullptr;
};

BOOL CALLBACK FindChild(HWND hwnd, LPARAM param) {
  auto* find = reinterpret_cast<TFindChild*>(param);
  if (GetDlgCtrlID(hwnd) == find->Id) {
    find->Found = hwnd;
    return FALSE;
  }
  return TRUE;
}

void SendKey(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof(INPUT));
}

}  // namespace

VormixProcess::VormixProcess() {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  std::wstring command = L"\"" + VormixExePath() + L"\"";
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &m_process))
    return;
  WaitForInputIdle(m_process.hProcess, 10000);
  TFindWindow find{m_process.dwProcessId, L"Vormix V2.0"};
  WaitUntil([&] {
    EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&find));
    return find.Found != nullptr;
  }, 20000);
  m_main = find.Found;
  if (m_main) m_threadId = GetWindowThreadProcessId(m_main, nullptr);
  Activate();
  Settle();
}

VormixProcess::~VormixProcess() {
  if (!m_process.hProcess) return;
  if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(m_process.hProcess, 1);
    WaitForSingleObject(m_process.hProcess, 5000);
  }
  CloseHandle(m_process.hThread);
  CloseHandle(m_process.hProcess);
}

HWND VormixProcess::Control(int id) const {
  TFindChild find{id};
  EnumChildWindows(m_main, FindChild, reinterpret_cast<LPARAM>(&find));
  return find.Found;
}

HWND VormixProcess::Focused() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  GetGUIThreadInfo(m_threadId, &info);
  return info.hwndFocus;
}

bool VormixProcess::HasFocus(HWND control) const {
  const HWND focus = Focused();
  return focus && control && (focus == control || IsChild(control, focus));
}

int VormixProcess::FocusedControlId() const {
  for (HWND window = Focused(); window && window != m_main; window = GetParent(window))
    if (const int id = GetDlgCtrlID(window); id != 0) return id;
  return 0;
}

namespace {

BOOL CALLBACK FindEdit(HWND hwnd, LPARAM param) {
  wchar_t className[64] = {};
  GetClassNameW(hwnd, className, 64);
  if (_wcsicmp(className, L"Edit") != 0) return TRUE;
  *reinterpret_cast<HWND*>(param) = hwnd;
  return FALSE;
}

}  // namespace

HWND VormixProcess::EditOf(HWND control) const {
  wchar_t className[64] = {};
  GetClassNameW(control, className, 64);
  if (_wcsicmp(className, L"Edit") == 0) return control;
  HWND edit = nullptr;
  EnumChildWindows(control, FindEdit, reinterpret_cast<LPARAM>(&edit));
  return edit ? edit : control;
}

bool VormixProcess::Exited(DWORD timeoutMs) const {
  return WaitForSingleObject(m_process.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

void VormixProcess::Activate() {
  if (!m_main) return;
  SetForegroundWindow(m_main);
  WaitUntil([&] { return GetForegroundWindow() == m_main; }, 2000);
}

void VormixProcess::TypeText(const std::string& utf8) {
  for (wchar_t ch : W(utf8)) {
    const SHORT mapped = ch < 0x80 ? VkKeyScanW(ch) : -1;
    if (mapped != -1 && ch != L'\r' && ch != L'\n') {
      const bool shift = (mapped & 0x100) != 0;
      PressKey(static_cast<WORD>(mapped & 0xFF), shift);
      continue;
    }
    if (ch == L'\n') continue;
    if (ch == L'\r') {
      PressKey(VK_RETURN);
      continue;
    }
    INPUT input[2]{};
    for (int i = 0; i < 2; ++i) {
      input[i].type = INPUT_KEYBOARD;
      input[i].ki.wScan = ch;
      input[i].ki.dwFlags = KEYEVENTF_UNICODE | (i ? KEYEVENTF_KEYUP : 0);
    }
    SendInput(2, input, sizeof(INPUT));
  }
  Settle();
}

void VormixProcess::PressKey(WORD key, bool shift, bool ctrl, bool alt) {
  if (shift) SendKey(VK_SHIFT, false);
  if (ctrl) SendKey(VK_CONTROL, false);
  if (alt) SendKey(VK_MENU, false);
  SendKey(key, false);
  SendKey(key, true);
  if (alt) SendKey(VK_MENU, true);
  if (ctrl) SendKey(VK_CONTROL, true);
  if (shift) SendKey(VK_SHIFT, true);
  Settle();
}

void VormixProcess::Click(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  ClickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

void VormixProcess::ClickAt(POINT screen) {
  const int x = screen.x, y = screen.y;
  const int sw = GetSystemMetrics(SM_CXSCREEN) - 1, sh = GetSystemMetrics(SM_CYSCREEN) - 1;
  INPUT input[3]{};
  for (INPUT& i : input) {
    i.type = INPUT_MOUSE;
    i.mi.dx = x * 65535 / sw;
    i.mi.dy = y * 65535 / sh;
  }
  input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
  input[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
  SendInput(3, input, sizeof(INPUT));
  Settle();
}

namespace {

void SendMouse(POINT screen, DWORD flags, DWORD data = 0) {
  const int sw = GetSystemMetrics(SM_CXSCREEN) - 1, sh = GetSystemMetrics(SM_CYSCREEN) - 1;
  INPUT input[2]{};
  for (INPUT& i : input) {
    i.type = INPUT_MOUSE;
    i.mi.dx = screen.x * 65535 / sw;
    i.mi.dy = screen.y * 65535 / sh;
  }
  input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  input[1].mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
  input[1].mi.mouseData = data;
  SendInput(2, input, sizeof(INPUT));
}

}  // namespace

void VormixProcess::MouseDownAt(POINT screen) {
  SendMouse(screen, MOUSEEVENTF_LEFTDOWN);
  Settle();
}

void VormixProcess::MouseUpAt(POINT screen) {
  SendMouse(screen, MOUSEEVENTF_LEFTUP);
  Settle();
}

void VormixProcess::MouseMoveTo(POINT screen) {
  SendMouse(screen, MOUSEEVENTF_MOVE);
  Settle();
}

void VormixProcess::Wheel(int delta) {
  POINT at{};
  GetCursorPos(&at);
  SendMouse(at, MOUSEEVENTF_WHEEL, static_cast<DWORD>(delta));
  Settle();
}

COLORREF ScreenPixel(POINT screen) {
  HDC dc = GetDC(nullptr);
  const COLORREF pixel = GetPixel(dc, screen.x, screen.y);
  ReleaseDC(nullptr, dc);
  return pixel;
}

void VormixProcess::SelectAll(HWND control) {
  SendMessageW(EditOf(control), EM_SETSEL, 0, -1);
  Settle();
}

std::map<int, POINT> VormixProcess::FrameParts() const {
  RECT window{};
  GetWindowRect(m_main, &window);
  POINT clientOrigin{0, 0};
  ClientToScreen(m_main, &clientOrigin);
  std::map<int, POINT> parts;
  auto probe = [&](int x, int y) {
    DWORD_PTR hit = 0;
    SendMessageTimeoutW(m_main, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_NORMAL, 5000, &hit);
    parts.try_emplace(static_cast<int>(hit), POINT{x, y});
  };
  // Across the title bar, halfway down it (the caption buttons are narrow); then round the
  // outermost pixels of the four edges, where a sizing border would be.
  const int captionMiddle = (window.top + clientOrigin.y) / 2;
  for (int x = window.left; x < window.right; x += 2) probe(x, captionMiddle);
  for (int x = window.left; x < window.right; x += 6) {
    probe(x, window.top);
    probe(x, window.bottom - 1);
  }
  for (int y = window.top; y < window.bottom; y += 6) {
    probe(window.left, y);
    probe(window.right - 1, y);
  }
  probe(window.right - 1, window.bottom - 1);
  return parts;
}

void VormixProcess::SetText(HWND window, const std::string& utf8) {
  // As a user replaces a field's text: click into it, select everything, delete it and
  // type the new text, so that the field sees typing and not a program's change.
  Click(window);
  SelectAll(window);
  PressKey(VK_DELETE);
  TypeText(utf8);
}

void VormixProcess::Settle() const {
  // A sent message is handled only when the program asks for its next message, which
  // is after it has finished what came before; a few rounds let queued input drain.
  for (int i = 0; i < 4; ++i) {
    DWORD_PTR result = 0;
    if (m_main) SendMessageTimeoutW(m_main, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
    Sleep(15);
  }
}

std::string VormixProcess::Text(HWND window) const {
  const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT got = SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(got));
  return U(text);
}

namespace {

struct TCollect {
  DWORD ProcessId;
  HWND Main;
  std::vector<HWND> Found;
};

BOOL CALLBACK CollectDialogs(HWND hwnd, LPARAM param) {
  auto* collect = reinterpret_cast<TCollect*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == collect->ProcessId && hwnd != collect->Main && IsWindowVisible(hwnd)) collect->Found.push_back(hwnd);
  return TRUE;
}

// The pixels of a 32 x 32 area: of a window on screen, or of an icon drawn on the dialog
// background. Icon handles of another process cannot be read, but their pictures can.
std::vector<DWORD> Pixels(HDC source, int x, int y) {
  HDC dc = CreateCompatibleDC(source);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = 32;
  bi.bmiHeader.biHeight = -32;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  BitBlt(dc, 0, 0, 32, 32, source, x, y, SRCCOPY);
  std::vector<DWORD> pixels(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + 32 * 32);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return pixels;
}

std::vector<DWORD> IconPicture(LPCWSTR id) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 32, 32);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT r{0, 0, 32, 32};
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  DrawIconEx(dc, 0, 0, LoadIconW(nullptr, id), 32, 32, 0, nullptr, DI_NORMAL);
  std::vector<DWORD> pixels = Pixels(dc, 0, 0);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return pixels;
}

std::vector<DWORD> WindowPicture(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  HDC screen = GetDC(nullptr);
  std::vector<DWORD> pixels = Pixels(screen, r.left, r.top);
  ReleaseDC(nullptr, screen);
  return pixels;
}

int Matches(const std::vector<DWORD>& a, const std::vector<DWORD>& b) {
  int n = 0;
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) n += (a[i] & 0xFFFFFF) == (b[i] & 0xFFFFFF);
  return n;
}

BOOL CALLBACK CollectChildren(HWND hwnd, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
  return TRUE;
}

}  // namespace

std::vector<HWND> VormixProcess::Dialogs() const {
  TCollect collect{m_process.dwProcessId, m_main, {}};
  EnumWindows(CollectDialogs, reinterpret_cast<LPARAM>(&collect));
  return collect.Found;
}

TMessageBoxSeen VormixProcess::WaitForMessageBox(DWORD timeoutMs) const {
  TMessageBoxSeen box;
  WaitUntil([&] {
    for (HWND dialog : Dialogs()) {
      wchar_t className[64] = {};
      GetClassNameW(dialog, className, 64);
      if (wcscmp(className, L"#32770") == 0) {
        box.Window = dialog;
        return true;
      }
    }
    return false;
  }, timeoutMs);
  if (!box.Window) return box;
  box.Caption = Text(box.Window);
  std::vector<HWND> children;
  EnumChildWindows(box.Window, CollectChildren, reinterpret_cast<LPARAM>(&children));
  const std::vector<DWORD> error = IconPicture(reinterpret_cast<LPCWSTR>(IDI_ERROR));
  const std::vector<DWORD> information = IconPicture(reinterpret_cast<LPCWSTR>(IDI_INFORMATION));
  for (HWND child : children) {
    wchar_t className[64] = {};
    GetClassNameW(child, className, 64);
    if (_wcsicmp(className, L"Static") != 0) continue;
    if (GetWindowLongW(child, GWL_STYLE) & SS_ICON) {
      const std::vector<DWORD> icon = WindowPicture(child);
      const int asError = Matches(icon, error), asInformation = Matches(icon, information);
      box.ErrorIcon = box.ErrorIcon || asError > asInformation;
      box.InformationIcon = box.InformationIcon || asInformation > asError;
    } else if (std::string text = Text(child); !text.empty()) {
      box.Text = text;
    }
  }
  return box;
}

HWND VormixProcess::WaitForDialog(const std::string& caption, DWORD timeoutMs) const {
  HWND found = nullptr;
  WaitUntil([&] {
    for (HWND dialog : Dialogs())
      if (caption.empty() || Text(dialog) == caption) found = dialog;
    return found != nullptr;
  }, timeoutMs);
  return found;
}

HWND VormixProcess::FocusIn(HWND dialog) const {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
  return info.hwndFocus;
}

void VormixProcess::CloseMessageBox(const TMessageBoxSeen& box) {
  if (!box.Window) return;
  SetForegroundWindow(box.Window);
  PressKey(VK_RETURN);
  WaitUntil([&] { return !IsWindow(box.Window); });
  Settle();
}

bool SaveWindowPicture(HWND window, const std::wstring& path) {
  RECT r{};
  GetWindowRect(window, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return false;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = height;  // bottom-up, as BMP files store their rows
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  BitBlt(dc, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(bi.bmiHeader);
  file.bfSize = file.bfOffBits + rowBytes * static_cast<DWORD>(height);
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
  bytes.append(reinterpret_cast<const char*>(&bi.bmiHeader), sizeof(bi.bmiHeader));
  bytes.append(static_cast<const char*>(bits), rowBytes * static_cast<DWORD>(height));
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  WriteBytes(path, bytes);
  std::string written;
  return ReadBytes(path, written) && written.size() == bytes.size();
}

void SetClipboardText(const std::string& utf8) {
  const std::wstring text = W(utf8);
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
    std::memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
  }
  CloseClipboard();
}

std::wstring TempFolder(const std::string& name) {
  wchar_t base[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, base);
  std::wstring folder = std::wstring(base) + L"vormix-e2e-" + W(name) + L"-" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(folder.c_str(), nullptr);
  WIN32_FIND_DATAW entry;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileW((folder + L"\\" + entry.cFileName).c_str());
    } while (FindNextFileW(find, &entry));
    FindClose(find);
  }
  return folder;
}

bool ReadBytes(const std::wstring& path, std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bytes.assign(GetFileSize(file, nullptr), '\0');
  DWORD read = 0;
  if (!bytes.empty()) ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  bytes.resize(read);
  return true;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  if (file == INVALID_HANDLE_VALUE) return;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace vormix::e2e
