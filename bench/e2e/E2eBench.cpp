// Measures generating under Wine as a user does it: the template 'copy a%d.txt b%d.txt',
// parameter 2 with base 100 and step 5, a command count, then a click on 生成命令; the
// time runs from the release of the mouse button to the end of the click handler (the
// first message the program answers afterwards). The floor for each count is one
// WM_SETTEXT of the same final text into a fresh multi-line edit control with the
// results area's styles and font, in this process.
//
// Last line: e2e_1e3_ratio=<n> e2e_1e4_ratio=<n> e2e_1e5_ms=<n> floor_1e5_ms=<n> ratio=<n>
#include <windows.h>

#include <cstdio>
#include <string>

#include "e2e/Driver.h"

namespace {

using namespace vormix::e2e;

constexpr int kTemplateMemo = 201, kResultsMemo = 202, kGenerate = 301;
constexpr int kParameter2Base = 103, kParameter2Step = 104, kCount = 117;

double Now() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::wstring ExpectedText(int count) {
  std::wstring text;
  for (int k = 0; k < count; ++k)
    text += L"copy a" + std::to_wstring(k) + L".txt b" + std::to_wstring(100 + 5 * k) + L".txt\r\n";
  return text;
}

// One WM_SETTEXT of the text into an edit control styled as the results area.
double FloorMs(const std::wstring& text) {
  HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                              WS_POPUP | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN |
                                  WS_HSCROLL | WS_VSCROLL,
                              0, 0, 578, 226, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"宋体");
  SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
  const double start = Now();
  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  const double ms = Now() - start;
  DestroyWindow(edit);
  DeleteObject(font);
  return ms;
}

// The click, and the time until the handler has returned; negative when the program
// refused the run (a message box came up instead of the full results).
double GenerateMs(VormixProcess& program, int count, std::size_t expectedLength) {
  HWND button = program.Control(kGenerate);
  HWND results = program.EditOf(program.Control(kResultsMemo));
  RECT r{};
  GetWindowRect(button, &r);
  const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
  const int sw = GetSystemMetrics(SM_CXSCREEN) - 1, sh = GetSystemMetrics(SM_CYSCREEN) - 1;
  INPUT input[2]{};
  for (INPUT& i : input) {
    i.type = INPUT_MOUSE;
    i.mi.dx = x * 65535 / sw;
    i.mi.dy = y * 65535 / sh;
  }
  input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input[0], sizeof(INPUT));
  program.Settle();  // the press (and the focus moving to the button) is done
  const double start = Now();
  SendInput(1, &input[1], sizeof(INPUT));
  // While the handler runs the program answers nothing; its first answer comes after it.
  for (;;) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(results, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 600000, &length)) return -1;
    if (length == expectedLength) return Now() - start;
    if (!program.Dialogs().empty()) return -1;
    if (Now() - start > 600000) return -1;
    Sleep(0);
  }
  (void)count;
}

}  // namespace

int main() {
  VormixProcess program;
  if (!program.Started()) {
    std::fprintf(stderr, "e2e bench: vormix.exe did not start\n");
    return 1;
  }
  program.SetText(program.Control(kTemplateMemo), "copy a%d.txt b%d.txt");
  program.SetText(program.Control(kParameter2Base), "100");
  program.SetText(program.Control(kParameter2Step), "5");

  const int counts[] = {1000, 10000, 100000};
  double e2e[3] = {}, floor[3] = {};
  for (int i = 0; i < 3; ++i) {
    const std::wstring expected = ExpectedText(counts[i]);
    program.SetText(program.Control(kCount), std::to_string(counts[i]));
    e2e[i] = GenerateMs(program, counts[i], expected.size());
    floor[i] = FloorMs(expected);
    if (e2e[i] < 0) {
      std::printf("%d commands: refused by the program (capacity)\n", counts[i]);
      const auto boxes = program.Dialogs();
      for (HWND box : boxes) PostMessageW(box, WM_CLOSE, 0, 0);
      program.Settle();
    } else {
      std::printf("%d commands: %.1f ms, floor %.1f ms, ratio %.2f\n", counts[i], e2e[i], floor[i], e2e[i] / floor[i]);
    }
  }
  auto ratio = [&](int i) { return e2e[i] < 0 ? -1.0 : e2e[i] / floor[i]; };
  std::printf("e2e_1e3_ratio=%.2f e2e_1e4_ratio=%.2f e2e_1e5_ms=%.1f floor_1e5_ms=%.1f ratio=%.2f\n", ratio(0),
              ratio(1), e2e[2], floor[2], ratio(2));
  return 0;
}
