// The main window of the real program under Wine: layout, focus and tab order, the
// sign-key rule, generating, its messages, and closing.
#include <gtest/gtest.h>

#include "Driver.h"

namespace vormix::e2e {
namespace {

constexpr int kMemo1 = 201, kMemo2 = 202, kGenerate = 301, kExit = 304;
constexpr int Field(int n) { return 100 + n; }

class MainWindowE2e : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(app.Started()) << "vormix.exe did not show its main window"; }

  void Generate() {
    app.Click(app.Control(kGenerate));
    app.Settle();
  }
  void SetField(int n, const std::string& text) {
    HWND field = app.Control(Field(n));
    app.Click(field);
    app.PressKey('A', false, true);  // nothing special; then select and retype below
    SendMessageW(field, EM_SETSEL, 0, -1);
    app.PressKey(VK_DELETE);
    app.TypeText(text);
  }

  VormixProcess app;
};

TEST_F(MainWindowE2e, StartsWithTitleInitialValuesAndFocusInTheTemplate) {
  EXPECT_EQ(app.Text(app.MainWindow()), "Vormix V2.0");
  RECT client{};
  GetClientRect(app.MainWindow(), &client);
  EXPECT_EQ(client.right, 722);
  EXPECT_EQ(client.bottom, 566);
  EXPECT_EQ(app.Text(app.Control(Field(1))), "0");
  EXPECT_EQ(app.Text(app.Control(Field(2))), "1");
  EXPECT_EQ(app.Text(app.Control(Field(17))), "100");
  EXPECT_EQ(app.Focused(), app.Control(kMemo1));
}

TEST_F(MainWindowE2e, GeneratesTheBatchIntoTheResultsArea) {
  app.Click(app.Control(kMemo1));
  app.TypeText("copy a%d.txt b%d.txt");
  SendMessageW(app.Control(Field(3)), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"100"));
  SendMessageW(app.Control(Field(4)), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"5"));
  SendMessageW(app.Control(Field(17)), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"3"));
  Generate();
  EXPECT_TRUE(WaitUntil([&] { return !app.Text(app.Control(kMemo2)).empty(); }));
  EXPECT_EQ(app.Text(app.Control(kMemo2)),
            "copy a0.txt b100.txt\r\ncopy a1.txt b105.txt\r\ncopy a2.txt b110.txt\r\n");
}

TEST_F(MainWindowE2e, TemplateWithoutMarkerAsksForOneAndFocusesTheTemplate) {
  app.Click(app.Control(kMemo1));
  app.TypeText("echo %D");
  Generate();
  TMessageBoxSeen box = app.WaitForMessageBox();
  ASSERT_NE(box.Window, nullptr);
  EXPECT_EQ(box.Caption, "提示");
  EXPECT_EQ(box.Text, "请输入带有\"%d\"格式参数的命令模板！");
  EXPECT_TRUE(box.InformationIcon);
  app.CloseMessageBox(box);
  EXPECT_TRUE(WaitUntil([&] { return app.Focused() == app.Control(kMemo1); }));
}

TEST_F(MainWindowE2e, ExitButtonEndsTheProgram) {
  Generate();  // any state will do
  for (HWND dialog : app.Dialogs()) SendMessageW(dialog, WM_CLOSE, 0, 0);
  app.Click(app.Control(kExit));
  EXPECT_TRUE(app.Exited());
}

}  // namespace
}  // namespace vormix::e2e
