// The edit cycle of the text editor on real windows: a form with two editors whose text
// lives in real EDIT controls, keys typed through the system's input queue, and the focus
// as Windows reports it. Message boxes and beeps are recorded instead of shown, so that
// nothing modal stops the test.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/Error.h"
#include "editors/cxTextEdit.h"
#include "forms/Forms.h"
#include "forms/StdCtrls.h"
#include "lookandfeel/cxButtons.h"
#include "platform/memory/MemoryServices.h"
#include "platform/win32/Win32WindowSystem.h"

namespace vormix {
namespace {

using Strings = std::vector<std::string>;

class EditCycleOnRealWindows : public testing::Test {
 protected:
  EditCycleOnRealWindows() {
    app.SetTitle("Vormix");
    form.SetCaption("Edit cycle");
    form.SetClientSize(260, 120);
    for (TWinControl* c : std::initializer_list<TWinControl*>{first.get(), second.get(), button.get()}) {
      const std::string name = c->Name();
      c->OnEnter = [this, name](TObject&) { log.push_back("enter " + name); };
      c->OnExit = [this, name](TObject&) { log.push_back("exit " + name); };
      c->OnKeyUp = [this](TObject&, TKey&, TShiftState) { ++keyUps; };
      c->OnKeyPress = [this, name](TObject&, char16_t& ch) { chars.push_back(name + " " + std::to_string(ch)); };
    }
    first->Properties().OnEditValueChanged = [this](TObject&) { log.push_back("value first"); };
    button->SetCaption("OK");
  }

  ~EditCycleOnRealWindows() override { app.ProcessMessages(); }

  // Shows the form in front, with the pointer over it, and waits for the first field
  // to have the focus.
  bool ShowInFront() {
    form.Show();
    HWND hwnd = static_cast<HWND>(form.Window()->Handle());
    RECT r{};
    GetWindowRect(hwnd, &r);
    SetCursorPos((r.left + r.right) / 2, r.top + 8);
    form.FormWindow()->Activate();
    const bool ready = Pump([&] { return GetForegroundWindow() == hwnd && first->Focused(); });
    log.clear();
    chars.clear();
    return ready;
  }

  // Handles messages until the condition holds (or a few seconds passed).
  bool Pump(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
    const DWORD start = GetTickCount();
    for (;;) {
      app.ProcessMessages();
      if (done()) return true;
      if (GetTickCount() - start > timeoutMs) return false;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
  }

  // One key stroke through the input queue; returns when its key-ups were handled.
  void Press(WORD key, bool shift = false) {
    std::vector<INPUT> input;
    auto add = [&](WORD vk, bool up) {
      INPUT i{};
      i.type = INPUT_KEYBOARD;
      i.ki.wVk = vk;
      i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
      input.push_back(i);
    };
    if (shift) add(VK_SHIFT, false);
    add(key, false);
    add(key, true);
    if (shift) add(VK_SHIFT, true);
    const int expected = keyUps + (shift ? 2 : 1);
    SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
    if (!Pump([&] { return keyUps >= expected; })) ADD_FAILURE() << "key " << key << " was not delivered";
  }

  void Type(const char* text) {
    for (const char* p = text; *p; ++p) {
      const SHORT mapped = VkKeyScanW(static_cast<wchar_t>(*p));
      Press(static_cast<WORD>(mapped & 0xFF), (mapped & 0x100) != 0);
    }
  }

  static HWND EditHwnd(const TcxTextEdit& edit) { return static_cast<HWND>(edit.InnerEdit()->Handle()); }
  static std::string Selection(const TcxTextEdit& edit) {
    DWORD from = 0, to = 0;
    SendMessageW(EditHwnd(edit), EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    return std::to_string(from) + "+" + std::to_string(to - from);
  }
  Strings Messages() const {
    Strings texts;
    for (const TShownMessage& m : messageBox.Shown) texts.push_back(m.Text);
    return texts;
  }

  Win32WindowSystem windows{GetModuleHandleW(nullptr)};
  MemoryBeep beep;
  MemoryClipboard clipboard;
  MemoryMessageBox messageBox;
  MemorySaveDialog saveDialog;
  MemoryFileSystem files;
  MemoryCodePage codePage;
  MemoryShell shell;
  TPlatform platform{windows, messageBox, beep, saveDialog, files, codePage, shell, clipboard};
  TApplication app{platform};
  TCustomForm form{app, "Form"};
  std::unique_ptr<TcxTextEdit> first = Make<TcxTextEdit>("first", 10, 10, 200, 21);
  std::unique_ptr<TcxTextEdit> second = Make<TcxTextEdit>("second", 10, 40, 200, 21);
  std::unique_ptr<TcxButton> button = Make<TcxButton>("button", 10, 75, 75, 25);
  Strings log;
  Strings chars;  // "first 97": who saw which character in OnKeyPress
  int keyUps = 0;

 private:
  template <class T>
  std::unique_ptr<T> Make(const char* name, int left, int top, int width, int height) {
    auto control = std::make_unique<T>(name);
    control->SetBounds(left, top, width, height);
    control->SetParent(&form);
    return control;
  }
};

TEST_F(EditCycleOnRealWindows, EnterCommitsAndKeepsTheFocusTabLeavesAndSelectsTheNextField) {
  first->Properties().SetValidateOnEnter(true);
  second->SetEditValue(Variant::FromString("world"));
  ASSERT_TRUE(ShowInFront());
  EXPECT_EQ(GetFocus(), EditHwnd(*first)) << "the frame hands the focus on to its EDIT";

  Type("hello");
  EXPECT_EQ(first->Text(), "hello");
  EXPECT_TRUE(first->EditedSinceEnter());
  EXPECT_EQ(first->EditValue().Type(), VarType::Null);

  Press(VK_RETURN);
  EXPECT_EQ(first->EditValue().Type(), VarType::String);
  EXPECT_EQ(VariantToString(first->EditValue()), "hello");
  EXPECT_TRUE(first->TextChecked());
  EXPECT_EQ(GetFocus(), EditHwnd(*first));
  EXPECT_EQ(log, Strings{"value first"});
  EXPECT_EQ(chars.back(), "first 13") << "the Enter character still reaches the field";
  EXPECT_EQ(first->Text(), "hello");

  Press(VK_TAB);
  EXPECT_EQ(GetFocus(), EditHwnd(*second));
  EXPECT_EQ(log, (Strings{"value first", "exit first", "enter second"}));
  EXPECT_EQ(Selection(*second), "0+5") << "entered by keyboard";
  EXPECT_EQ(first->Text(), "hello") << "no tab character was inserted";

  Press(VK_TAB, true);
  EXPECT_EQ(GetFocus(), EditHwnd(*first));
  EXPECT_EQ(log.back(), "enter first");
  EXPECT_EQ(Messages(), Strings{});
}

TEST_F(EditCycleOnRealWindows, AFailedCheckKeepsTheFocusAndEscapeUndoes) {
  first->SetEditValue(Variant::FromString("start"));
  first->Properties().OnValidate = [&](TObject&, Variant&, std::string& errorText, bool& error) {
    error = first->Text().size() < 3;
    errorText = "Too short";
  };
  ASSERT_TRUE(ShowInFront());
  EXPECT_EQ(Selection(*first), "0+5");

  Type("ab");
  Press(VK_LEFT);
  Press(VK_TAB);
  EXPECT_EQ(GetFocus(), EditHwnd(*first)) << "the focus came back";
  EXPECT_EQ(Selection(*first), "0+2");
  EXPECT_EQ(Messages(), Strings{"Too short."});
  EXPECT_EQ(log, Strings{}) << "neither OnExit here nor OnEnter there";
  EXPECT_EQ(VariantToString(first->EditValue()), "start");
  EXPECT_EQ(first->Text(), "ab");

  chars.clear();
  Press(VK_ESCAPE);
  EXPECT_EQ(first->Text(), "start");
  EXPECT_EQ(Selection(*first), "0+5");
  EXPECT_FALSE(first->EditedSinceEnter());
  EXPECT_EQ(chars, Strings{}) << "the Escape character was swallowed";

  Press(VK_TAB);
  EXPECT_EQ(GetFocus(), EditHwnd(*second));
  EXPECT_EQ(log, (Strings{"exit first", "enter second"}));
  EXPECT_EQ(Messages(), Strings{"Too short."});
}

// The EDIT control reports the program's text through its parent's window procedure;
// a handler's error must still reach the code that stored the value, not stop there.
TEST_F(EditCycleOnRealWindows, AnOnChangeErrorOfAProgramAssignmentReachesTheCaller) {
  ASSERT_TRUE(ShowInFront());
  second->Properties().OnChange = [](TObject&) { throw Error("the handler failed"); };
  std::string caught;
  try {
    second->SetEditValue(Variant::FromString("new"));
  } catch (const Error& e) {
    caught = e.Text();
  }
  EXPECT_EQ(caught, "the handler failed");
  EXPECT_EQ(second->Text(), "new");
  EXPECT_EQ(Messages(), Strings{});
}

// Right-aligned editors show their text at the left while edited: the EDIT control is
// made anew for each change of alignment, and the edit cycle runs on as if nothing happened.
TEST_F(EditCycleOnRealWindows, RightAlignedTextGoesLeftWhileEditedAndTheCycleGoesOn) {
  for (TcxTextEdit* edit : {first.get(), second.get()})
    edit->Properties().SetAlignment({TAlignment::taRightJustify, TcxEditVertAlignment::taTopJustify});
  first->SetEditValue(Variant::FromString("abc"));
  second->SetEditValue(Variant::FromString("xyz"));
  auto alignment = [](const TcxTextEdit& edit) {
    const LONG style = GetWindowLongW(EditHwnd(edit), GWL_STYLE);
    return (style & ES_RIGHT) ? "right" : (style & ES_CENTER) ? "center" : "left";
  };
  ASSERT_TRUE(ShowInFront());
  EXPECT_STREQ(alignment(*first), "left");
  EXPECT_STREQ(alignment(*second), "right");
  EXPECT_EQ(GetFocus(), EditHwnd(*first));
  EXPECT_EQ(Selection(*first), "0+3") << "entered by keyboard";

  Type("de");
  EXPECT_EQ(first->Text(), "de");
  Press(VK_TAB);
  EXPECT_EQ(GetFocus(), EditHwnd(*second));
  EXPECT_STREQ(alignment(*first), "right");
  EXPECT_STREQ(alignment(*second), "left");
  EXPECT_EQ(Selection(*second), "0+3");
  EXPECT_EQ(log, (Strings{"value first", "exit first", "enter second"})) << "one exit, one entry";
  EXPECT_EQ(VariantToString(first->EditValue()), "de");

  Type("q");
  EXPECT_EQ(second->Text(), "q");
  Press(VK_TAB, true);
  EXPECT_EQ(GetFocus(), EditHwnd(*first));
  EXPECT_STREQ(alignment(*second), "right");
  EXPECT_EQ(log, (Strings{"value first", "exit first", "enter second", "exit second", "enter first"}));
  EXPECT_EQ(Messages(), Strings{});
}

}  // namespace
}  // namespace vormix
