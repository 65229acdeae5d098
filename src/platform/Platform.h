#pragma once
// Every platform service the program calls, handed over as one bundle at start-up:
// the real adapters in the product, the memory adapters in the tests.
#include "platform/Beep.h"
#include "platform/Clipboard.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/SaveDialog.h"
#include "platform/Shell.h"
#include "platform/WindowSystem.h"

namespace vormix {

struct TPlatform {
  IWindowSystem& Windows;
  IMessageBox& MessageBox;
  IBeep& Beep;
  ISaveDialog& SaveDialog;
  IFileSystem& Files;
  ICodePage& CodePage;
  IShell& Shell;
  IClipboard& Clipboard;
};

}  // namespace vormix
