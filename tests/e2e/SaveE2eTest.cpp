// Saving the results of the real program under Wine, through the system's own save
// dialog, typed into as a person would.
#include <gtest/gtest.h>

#include "SaveE2e.h"

namespace vormix::e2e {
namespace {

TEST_F(SaveE2e, WritesTheGeneratedLinesWithCrLf) {
  Generate("a%d", 3);
  const std::wstring folder = TempFolder("plain");
  SaveAs(folder + L"\\a.txt");
  std::string bytes;
  ASSERT_TRUE(ReadBytes(folder + L"\\a.txt", bytes));
  EXPECT_EQ(bytes, "a0\r\na1\r\na2\r\n");
}

TEST_F(SaveE2e, WritesChineseInTheAnsiCodePage) {
  Generate("文件%d.txt", 2);
  const std::wstring folder = TempFolder("gbk");
  SaveAs(folder + L"\\gbk.txt");
  std::string bytes;
  ASSERT_TRUE(ReadBytes(folder + L"\\gbk.txt", bytes));
  EXPECT_EQ(bytes, "\xCE\xC4\xBC\xFE" "0.txt\r\n\xCE\xC4\xBC\xFE" "1.txt\r\n");
}

TEST_F(SaveE2e, AddsTheDefaultExtensionOnlyWhenNoneIsTyped) {
  Generate("x%d", 1);
  const std::wstring folder = TempFolder("ext");
  SaveAs(folder + L"\\out");
  SaveAs(folder + L"\\out.log");
  std::string bytes;
  EXPECT_TRUE(ReadBytes(folder + L"\\out.txt", bytes));
  EXPECT_EQ(bytes, "x0\r\n");
  EXPECT_TRUE(ReadBytes(folder + L"\\out.log", bytes));
  EXPECT_FALSE(ReadBytes(folder + L"\\out", bytes));
}

}  // namespace
}  // namespace vormix::e2e

namespace vormix::e2e {
namespace {

TEST_F(SaveE2e, ReplacesALongerExistingFileAfterTheOverwriteQuestion) {
  Generate("b%d", 2);
  const std::wstring folder = TempFolder("overwrite");
  const std::wstring path = folder + L"\\old.txt";
  WriteBytes(path, std::string(1000, 'z'));
  HWND dialog = OpenSaveDialog();
  ASSERT_NE(dialog, nullptr);
  TypeNameAndConfirm(dialog, path);
  // The system asks before replacing the file; the answer is yes.
  HWND question = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    for (HWND w : app.Dialogs())
      if (w != dialog && IsWindowVisible(w)) question = w;
    return question != nullptr;
  }));
  app.PressKey('Y');
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
  app.Settle();
  std::string bytes;
  ASSERT_TRUE(ReadBytes(path, bytes));
  EXPECT_EQ(bytes, "b0\r\nb1\r\n");
}

TEST_F(SaveE2e, SecondSaveOpensWithTheFirstPathAndCancelWritesNothing) {
  Generate("c%d", 1);
  const std::wstring folder = TempFolder("again");
  SaveAs(folder + L"\\first.txt");
  HWND dialog = OpenSaveDialog();
  ASSERT_NE(dialog, nullptr);
  const std::string shown = app.Text(app.FocusIn(dialog));
  EXPECT_NE(shown.find("first.txt"), std::string::npos) << shown;
  app.PressKey(VK_ESCAPE);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
  app.Settle();
  EXPECT_TRUE(app.Dialogs().empty());
  std::string bytes;
  EXPECT_TRUE(ReadBytes(folder + L"\\first.txt", bytes));
  EXPECT_EQ(bytes, "c0\r\n");
}

TEST_F(SaveE2e, PathInAMissingFolderCannotBeCreated) {
  Generate("d%d", 1);
  const std::wstring folder = TempFolder("missing");
  const std::wstring path = folder + L"\\no-such-folder\\out.txt";
  HWND dialog = OpenSaveDialog();
  ASSERT_NE(dialog, nullptr);
  TypeNameAndConfirm(dialog, path);
  TMessageBoxSeen box = app.WaitForMessageBox();
  ASSERT_NE(box.Window, nullptr);
  EXPECT_EQ(box.Caption, "Vormix");
  EXPECT_TRUE(box.ErrorIcon);
  EXPECT_EQ(box.Text.rfind("Cannot create file \"" + U(path) + "\". ", 0), 0u) << box.Text;
  RecordProperty("message", box.Text);  // the system's own words end up in the test report
  app.CloseMessageBox(box);
}

}  // namespace
}  // namespace vormix::e2e
