#pragma once
// In-memory stand-ins for the small platform services. Each records what it was asked,
// so that tests can check the calls the program made.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Beep.h"
#include "platform/Clipboard.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/SaveDialog.h"
#include "platform/Shell.h"

namespace vormix {

class MemoryBeep : public IBeep {
 public:
  void MessageBeep(unsigned type) override { Beeps.push_back(type); }
  std::vector<unsigned> Beeps;
};

struct TShownMessage {
  INativeWindow* Owner = nullptr;
  std::string Text;
  std::string Caption;
  TMessageIcon Icon = TMessageIcon::Information;
};

class MemoryMessageBox : public IMessageBox {
 public:
  void Show(INativeWindow* owner, const std::string& text, const std::string& caption,
            TMessageIcon icon) override;
  std::vector<TShownMessage> Shown;
  // Runs while the box is "open", so a test can look at the program in that moment.
  std::function<void(const TShownMessage&)> WhileShown;
};

class MemorySaveDialog : public ISaveDialog {
 public:
  bool Execute(const TSaveDialogRequest& request, std::string& chosenPath) override;
  // Answers to give, oldest first: a path confirms, nothing cancels. With no answer
  // queued the dialog is cancelled.
  std::vector<std::optional<std::string>> Answers;
  std::vector<TSaveDialogRequest> Requests;
};

// Files live in a map from path to content. A path can be made to fail on creation,
// and writes can be cut short to imitate a full disk.
class MemoryFileSystem : public IFileSystem {
 public:
  TFileCreateResult CreateNew(const std::string& path) override;

  std::map<std::string, std::string> Files;
  std::map<std::string, std::string> CreateErrors;  // path -> the system's error text
  std::optional<std::size_t> WriteLimit;            // bytes a single write gets through
  std::vector<std::string> CreatedPaths;
  int OpenFiles = 0;
};

// A code page made of ASCII plus an explicit table of characters, so tests can state
// exactly which characters have a form in it. The default table holds a few Chinese
// characters with their code-page-936 bytes.
class MemoryCodePage : public ICodePage {
 public:
  MemoryCodePage();
  unsigned CodePageId() const override { return 936; }
  TAnsiConversion ToAnsi(std::string_view utf8) const override;
  std::string FromAnsi(std::string_view bytes) const override;

  std::map<std::string, std::string> Table;  // UTF-8 character -> code-page bytes
};

class MemoryShell : public IShell {
 public:
  void OpenAddress(INativeWindow* owner, const std::string& address) override {
    Opened.push_back({owner, address});
  }
  struct TOpened {
    INativeWindow* Owner;
    std::string Address;
  };
  std::vector<TOpened> Opened;
};

class MemoryClipboard : public IClipboard {
 public:
  std::optional<std::string> Text() const override { return m_text; }
  void SetText(const std::string& text) override { m_text = text; }
  void Clear() { m_text.reset(); }

 private:
  std::optional<std::string> m_text;
};

}  // namespace vormix
