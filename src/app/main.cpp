// Start-up: the real platform adapters, the look-and-feel side (the visual-styles
// library, the theme manager, the painters, the global look-and-feel), the application
// titled "Vormix", the main window, and the message loop until the main window closes.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/MainFrm.h"
#include "lookandfeel/cxLookAndFeels.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/Win32ThemeLibrary.h"
#include "platform/win32/Win32WindowSystem.h"

namespace {

// With VORMIX_SHELL_RECORD naming a file, each address the program would open is added
// to that file as a line instead: the end-to-end tests see the request without a
// browser starting.
class TRecordingShell : public vormix::IShell {
 public:
  explicit TRecordingShell(std::wstring path) : m_path(std::move(path)) {}
  void OpenAddress(vormix::INativeWindow*, const std::string& address) override {
    if (FILE* f = _wfopen(m_path.c_str(), L"ab")) {
      std::fprintf(f, "open %s\n", address.c_str());
      std::fclose(f);
    }
  }

 private:
  std::wstring m_path;
};

std::unique_ptr<vormix::IShell> MakeShell() {
  if (const wchar_t* record = _wgetenv(L"VORMIX_SHELL_RECORD"); record && *record)
    return std::make_unique<TRecordingShell>(record);
  return std::make_unique<vormix::Win32Shell>();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using namespace vormix;
  Win32Beep beep;
  Win32Clipboard clipboard;
  Win32WindowSystem windows(instance);
  Win32MessageBox messageBox;
  Win32SaveDialog saveDialog;
  Win32FileSystem files;
  Win32CodePage codePage;
  std::unique_ptr<IShell> shell = MakeShell();
  const TPlatform platform{windows, messageBox, beep, saveDialog, files, codePage, *shell, clipboard};

  Win32ThemeLibrary themes;
  TcxLookAndFeelRuntime lookAndFeel(themes, &windows);

  TApplication application(platform);
  application.SetTitle("Vormix");
  SetBroadcastExceptionHandler([&application](std::exception_ptr error) { application.HandleException(error); });
  auto mainForm = std::make_unique<TMainForm>(application);
  application.Run();
  mainForm.reset();
  SetBroadcastExceptionHandler(nullptr);
  return 0;
}
