// Start-up: the real platform adapters, the look-and-feel side (the visual-styles
// library, the theme manager, the painters, the global look-and-feel), the application
// titled "Vormix", the main window, and the message loop until the main window closes.
#include <windows.h>

#include <memory>

#include "app/MainFrm.h"
#include "lookandfeel/cxLookAndFeels.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/Win32ThemeLibrary.h"
#include "platform/win32/Win32WindowSystem.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using namespace vormix;
  Win32Beep beep;
  Win32Clipboard clipboard;
  Win32WindowSystem windows(instance);
  Win32MessageBox messageBox;
  Win32SaveDialog saveDialog;
  Win32FileSystem files;
  Win32CodePage codePage;
  Win32Shell shell;
  const TPlatform platform{windows, messageBox, beep, saveDialog, files, codePage, shell, clipboard};

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
