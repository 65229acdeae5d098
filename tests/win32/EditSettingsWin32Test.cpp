// The settings an EDIT control shares with its editor, on the real system: those the
// control takes while it lives (letter case, password character, length limit, input
// method) and those it reads only when it is made (alignment, hiding the selection),
// for which the adapter puts a new control in place of the old one.
#include <gtest/gtest.h>
#include <windows.h>
#include <imm.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/win32/Win32WindowSystem.h"

namespace vormix {
namespace {

class RecordingHandler : public INativeWindowHandler {
 public:
  void NativeFocusIn() override {
    ++FocusIns;
    if (OnFocusIn) OnFocusIn();
  }
  void NativeChar(char16_t& ch) override { Chars += ch; }
  void NativeTextChanged() override { ++TextChanges; }

  int FocusIns = 0;
  int TextChanges = 0;
  std::u16string Chars;
  std::function<void()> OnFocusIn;
};

class Win32EditSettings : public testing::Test {
 protected:
  Win32EditSettings() {
    TNativeWindowParams params;
    params.Bounds = {100, 100, 420, 200};
    params.Text = "Settings";
    form = windows.CreateForm(params, TNativeFormStyle{}, formHandler);
    form->SetClientSize({300, 80});
    form->Show();
    TNativeWindowParams e;
    e.Parent = form.get();
    e.Bounds = {10, 10, 250, 34};
    e.Text = "abc";
    e.Id = 77;
    e.Font.Name = "宋体";
    e.Font.Height = -12;
    edit = windows.CreateEdit(e, TNativeEditStyle{}, editHandler);
  }
  ~Win32EditSettings() override {
    edit.reset();
    form.reset();
  }

  HWND Hwnd() const { return static_cast<HWND>(edit->Handle()); }
  DWORD Style() const { return static_cast<DWORD>(GetWindowLongW(Hwnd(), GWL_STYLE)); }
  std::string Selection() const {
    std::size_t start = 0, length = 0;
    edit->GetSelection(start, length);
    return std::to_string(start) + "+" + std::to_string(length);
  }
  void Pump() { windows.ProcessMessages(); }
  // The leftmost column of the control's client area with text-dark pixels, as drawn.
  int InkLeft() {
    RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    RECT r{};
    GetClientRect(Hwnd(), &r);
    HDC dc = GetDC(Hwnd());
    int left = -1;
    for (int x = 0; x < r.right && left < 0; ++x)
      for (int y = 0; y < r.bottom; ++y) {
        const COLORREF c = GetPixel(dc, x, y);
        if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 300) {
          left = x;
          break;
        }
      }
    ReleaseDC(Hwnd(), dc);
    return left;
  }

  Win32WindowSystem windows{GetModuleHandleW(nullptr)};
  RecordingHandler formHandler, editHandler;
  std::unique_ptr<INativeForm> form;
  std::unique_ptr<INativeEdit> edit;
};

TEST_F(Win32EditSettings, AlignmentAndHidingTheSelectionMakeANewControlThatKeepsEverythingElse) {
  edit->SetFocus();
  edit->SetSelection(1, 1);
  edit->SetMaxLength(10);
  edit->SetPasswordChar(0);
  const int leftInk = InkLeft();
  ASSERT_GE(leftInk, 0) << "no text drawn";

  struct TRow {
    const char* Name;
    std::function<void()> Change;
    DWORD Mask, Bits;
  };
  const TRow rows[] = {
      {"right", [&] { edit->SetAlignment(TNativeAlignment::Right); }, ES_LEFT | ES_CENTER | ES_RIGHT, ES_RIGHT},
      {"centre", [&] { edit->SetAlignment(TNativeAlignment::Center); }, ES_LEFT | ES_CENTER | ES_RIGHT, ES_CENTER},
      {"selection kept", [&] { edit->SetHideSelection(false); }, ES_NOHIDESEL, ES_NOHIDESEL},
      {"left", [&] { edit->SetAlignment(TNativeAlignment::Left); }, ES_LEFT | ES_CENTER | ES_RIGHT, ES_LEFT},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    HWND before = Hwnd();
    row.Change();
    Pump();
    EXPECT_NE(Hwnd(), before) << "a new control";
    EXPECT_FALSE(IsWindow(before)) << "the old one is gone";
    EXPECT_EQ(Style() & row.Mask, row.Bits);
    EXPECT_EQ(edit->Text(), "abc");
    EXPECT_EQ(Selection(), "1+1");
    EXPECT_EQ(GetFocus(), Hwnd());
    EXPECT_EQ(GetDlgCtrlID(Hwnd()), 77);
    EXPECT_EQ(SendMessageW(Hwnd(), EM_GETLIMITTEXT, 0, 0), 10);
    EXPECT_EQ(GetParent(Hwnd()), static_cast<HWND>(form->Handle()));
    EXPECT_TRUE(IsWindowVisible(Hwnd()));
  }
  // The settings asked for again change nothing.
  HWND current = Hwnd();
  edit->SetAlignment(TNativeAlignment::Left);
  edit->SetHideSelection(false);
  EXPECT_EQ(Hwnd(), current);

  // What the new control shows and hears: its text drawn where the alignment says, its
  // input and its changes reported to the same handler.
  edit->SetAlignment(TNativeAlignment::Right);
  EXPECT_GT(InkLeft(), leftInk + 100) << "right-aligned text starts further right";
  const int changes = editHandler.TextChanges;
  SendMessageW(Hwnd(), WM_CHAR, 'x', 0);
  EXPECT_EQ(editHandler.Chars, u"x");
  EXPECT_EQ(edit->Text(), "axc");
  EXPECT_EQ(editHandler.TextChanges, changes + 1);
}

TEST_F(Win32EditSettings, ACaseLimitAndPasswordCharacterTakeEffectOnTheSameControl) {
  HWND same = Hwnd();
  edit->SetCharCase(TNativeCharCase::Upper);
  EXPECT_EQ(Style() & (ES_UPPERCASE | ES_LOWERCASE), static_cast<DWORD>(ES_UPPERCASE));
  edit->SetSelection(3, 0);
  SendMessageW(Hwnd(), WM_CHAR, 'q', 0);
  EXPECT_EQ(edit->Text(), "abcQ");
  edit->SetCharCase(TNativeCharCase::Lower);
  SendMessageW(Hwnd(), WM_CHAR, 'R', 0);
  EXPECT_EQ(edit->Text(), "abcQr");
  edit->SetCharCase(TNativeCharCase::Normal);
  EXPECT_EQ(Style() & (ES_UPPERCASE | ES_LOWERCASE), 0u);

  edit->SetMaxLength(6);
  for (wchar_t c : std::wstring(L"stu")) SendMessageW(Hwnd(), WM_CHAR, c, 0);
  EXPECT_EQ(edit->Text(), "abcQrs") << "typing stops at the limit";
  edit->SetMaxLength(0);
  EXPECT_GT(SendMessageW(Hwnd(), EM_GETLIMITTEXT, 0, 0), 1000000) << "no limit of the program's own";

  edit->SetPasswordChar(u'*');
  EXPECT_EQ(SendMessageW(Hwnd(), EM_GETPASSWORDCHAR, 0, 0), '*');
  edit->SetPasswordChar(0);
  EXPECT_EQ(SendMessageW(Hwnd(), EM_GETPASSWORDCHAR, 0, 0), 0);
  EXPECT_EQ(Hwnd(), same);
}

TEST_F(Win32EditSettings, TheInputMethodIsOffOpenClosedOrLeftAlone) {
  auto context = [&] { return ImmGetContext(Hwnd()); };
  HIMC shared = context();
  ASSERT_NE(shared, nullptr) << "a control starts with the thread's input context";
  ImmReleaseContext(Hwnd(), shared);

  edit->SetImeMode(TImeMode::imDisable);
  EXPECT_EQ(context(), nullptr);

  struct TRow {
    TImeMode Mode;
    bool Open;
    DWORD Conversion;  // the bits expected set; 0: not looked at
  };
  const TRow rows[] = {
      {TImeMode::imOpen, true, 0},
      {TImeMode::imClose, false, 0},
      {TImeMode::imChinese, true, IME_CMODE_NATIVE},
      {TImeMode::imAlpha, true, IME_CMODE_FULLSHAPE},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.Mode));
    edit->SetImeMode(row.Mode);
    HIMC own = context();
    ASSERT_NE(own, nullptr);
    EXPECT_NE(own, shared) << "a context of the control's own";
    EXPECT_EQ(ImmGetOpenStatus(own) != FALSE, row.Open);
    DWORD conversion = 0, sentence = 0;
    ImmGetConversionStatus(own, &conversion, &sentence);
    EXPECT_EQ(conversion & row.Conversion, row.Conversion);
    ImmReleaseContext(Hwnd(), own);
  }
  edit->SetImeMode(TImeMode::imDontCare);
  HIMC back = context();
  EXPECT_EQ(back, shared) << "back to the thread's own";
  ImmReleaseContext(Hwnd(), back);

  // A new control, made for an alignment, keeps the mode.
  edit->SetImeMode(TImeMode::imDisable);
  edit->SetAlignment(TNativeAlignment::Center);
  EXPECT_EQ(context(), nullptr);
}

// The handler changes the alignment while the control handles its own focus message: the
// new control comes once that message is done, and has the focus.
TEST_F(Win32EditSettings, AChangeAskedForWhileTheControlHandlesItsOwnMessageWaitsForIt) {
  HWND before = Hwnd();
  HWND during = nullptr;
  editHandler.OnFocusIn = [&] {
    editHandler.OnFocusIn = nullptr;
    edit->SetAlignment(TNativeAlignment::Right);
    during = Hwnd();
  };
  edit->SetFocus();
  EXPECT_EQ(during, before) << "not while its message is handled";
  EXPECT_NE(Hwnd(), before);
  EXPECT_FALSE(IsWindow(before));
  EXPECT_EQ(Style() & ES_RIGHT, static_cast<DWORD>(ES_RIGHT));
  EXPECT_EQ(GetFocus(), Hwnd());
  EXPECT_EQ(edit->Text(), "abc");
}

}  // namespace
}  // namespace vormix
