#pragma once
// The small platform services on Win32.
#include "platform/Beep.h"
#include "platform/Clipboard.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/SaveDialog.h"
#include "platform/Shell.h"

namespace vormix {

class Win32MessageBox : public IMessageBox {
 public:
  void Show(INativeWindow* owner, const std::string& text, const std::string& caption,
            TMessageIcon icon) override;
};

class Win32Beep : public IBeep {
 public:
  void MessageBeep(unsigned type) override;
};

class Win32SaveDialog : public ISaveDialog {
 public:
  bool Execute(const TSaveDialogRequest& request, std::string& chosenPath) override;
};

class Win32FileSystem : public IFileSystem {
 public:
  TFileCreateResult CreateNew(const std::string& path) override;
};

// The system's ANSI code page, or another one named when it is made (tests convert with
// several in one process).
class Win32CodePage : public ICodePage {
 public:
  Win32CodePage();
  explicit Win32CodePage(unsigned codePage) : m_codePage(codePage) {}
  unsigned CodePageId() const override { return m_codePage; }
  TAnsiConversion ToAnsi(std::string_view utf8) const override { return ToCodePage(utf8, m_codePage); }
  std::string FromAnsi(std::string_view bytes) const override { return FromCodePage(bytes, m_codePage); }

  // The conversions themselves. A character the code page has no form for is reported,
  // never written as a replacement; UTF-8 (65001) has a form for every character.
  static TAnsiConversion ToCodePage(std::string_view utf8, unsigned codePage);
  static std::string FromCodePage(std::string_view bytes, unsigned codePage);

 private:
  unsigned m_codePage;
};

class Win32Shell : public IShell {
 public:
  void OpenAddress(INativeWindow* owner, const std::string& address) override;
};

class Win32Clipboard : public IClipboard {
 public:
  std::optional<std::string> Text() const override;
  void SetText(const std::string& text) override;
};

}  // namespace vormix
