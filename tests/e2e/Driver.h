#pragma once
// Drives the real vormix.exe from another process the way a person would: keys and
// clicks go through the system's input queue, and what the test reads comes from the
// windows themselves (texts, focus, message boxes).
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace vormix::e2e {

std::wstring W(const std::string& utf8);
std::string U(const std::wstring& wide);

// The vormix.exe the tests start, as a Windows path.
std::wstring VormixExePath();

// Waits until the condition holds, up to the timeout; answers whether it did.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10000);

struct TMessageBoxSeen {
  HWND Window = nullptr;
  std::string Caption;
  std::string Text;
  bool ErrorIcon = false;
  bool InformationIcon = false;
};

class VormixProcess {
 public:
  VormixProcess();
  ~VormixProcess();  // ends the program if it is still running
  VormixProcess(const VormixProcess&) = delete;
  VormixProcess& operator=(const VormixProcess&) = delete;

  bool Started() const { return m_main != nullptr; }
  HWND MainWindow() const { return m_main; }
  DWORD ThreadId() const { return m_threadId; }
  HWND Control(int id) const;  // the native window with that control id
  HWND Focused() const;        // the window that has the keyboard focus in the program
  // Whether the focus is in that control: on it or on a window inside it (a field's
  // native edit box).
  bool HasFocus(HWND control) const;
  // The control id of the control that has the focus (the nearest window with an id,
  // from the focused window outwards), 0 when the focus is elsewhere.
  int FocusedControlId() const;
  // The native edit box of a text control: the control itself or the edit inside it.
  HWND EditOf(HWND control) const;
  bool Exited(DWORD timeoutMs = 10000) const;

  // Input, delivered to the program's active window.
  void Activate();
  void TypeText(const std::string& utf8);
  void PressKey(WORD key, bool shift = false, bool ctrl = false, bool alt = false);
  void Click(HWND window);
  void ClickAt(POINT screen);
  // The left button pressed, and let go, at a screen point: a press that is held.
  void MouseDownAt(POINT screen);
  void MouseUpAt(POINT screen);
  // The pointer moved to a screen point, with whatever buttons are held.
  void MouseMoveTo(POINT screen);
  // One wheel message of that delta (120 a notch, positive away from the user).
  void Wheel(int delta);
  // Selects all text of a text control, as a drag over it would (Ctrl+A is no shortcut
  // of a single-line edit box).
  void SelectAll(HWND control);
  // The parts of the main window's frame that the system reports along the title bar
  // and the four edges (HTCLOSE, HTMINBUTTON, HTBOTTOM, ...), each with a screen point on it.
  std::map<int, POINT> FrameParts() const;
  void SetText(HWND window, const std::string& utf8);  // replaces a field's text by typing
  // Waits until the program has handled everything sent so far.
  void Settle() const;

  std::string Text(HWND window) const;
  // A message box (or any other top-level dialog) of the program, once it is open.
  std::vector<HWND> Dialogs() const;
  TMessageBoxSeen WaitForMessageBox(DWORD timeoutMs = 10000) const;
  void CloseMessageBox(const TMessageBoxSeen& box);
  // The system dialog of the program with this caption, once it is open.
  HWND WaitForDialog(const std::string& caption, DWORD timeoutMs = 10000) const;
  // The window that has the keyboard focus in the given dialog's thread.
  HWND FocusIn(HWND dialog) const;

 private:
  PROCESS_INFORMATION m_process{};
  HWND m_main = nullptr;
  DWORD m_threadId = 0;
};

// Writes what a window shows on the screen (its frame included) to a 24-bit BMP file,
// for a person to look at; answers whether the file was written.
bool SaveWindowPicture(HWND window, const std::wstring& path);

// A pixel of the screen as it shows now.
COLORREF ScreenPixel(POINT screen);

// Puts text on the clipboard, as copying it elsewhere would.
void SetClipboardText(const std::string& utf8);

// Files, read back the way the program wrote them.
std::wstring TempFolder(const std::string& name);  // a fresh, empty folder
bool ReadBytes(const std::wstring& path, std::string& bytes);
void WriteBytes(const std::wstring& path, const std::string& bytes);

}  // namespace vormix::e2e
