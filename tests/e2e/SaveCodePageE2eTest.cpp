// The results file is written in the system's ANSI code page: on the Chinese system the
// other tests run on (936) a character that code page lacks stops the save before the
// file is touched; on a system whose ANSI code page is UTF-8 (65001; ctest runs the
// Utf8SystemE2e cases in such a locale) every character is written.
#include <gtest/gtest.h>

#include <string>

#include "SaveE2e.h"

namespace vormix::e2e {
namespace {

using Utf8SystemE2e = SaveE2e;

// Characters from four scripts and one beyond the 16-bit range.
constexpr const char* kWorldTemplate = "文件%d 😀 한 é ก";

TEST_F(SaveE2e, ACharacterTheCodePageLacksStopsTheSaveBeforeTheFileIsTouched) {
  ASSERT_EQ(GetACP(), 936u) << "this case runs on the Chinese system";
  GeneratePasted(kWorldTemplate, 1);
  const std::wstring folder = TempFolder("lacking");
  const std::wstring path = folder + L"\\kept.txt";
  WriteBytes(path, "old content\r\n");

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

  TMessageBoxSeen box = app.WaitForMessageBox();
  ASSERT_NE(box.Window, nullptr) << "no message for the character";
  EXPECT_EQ(box.Caption, "Vormix");
  EXPECT_TRUE(box.ErrorIcon);
  EXPECT_EQ(box.Text, "Cannot save to file \"" + U(path) + "\": the character \"😀\" cannot be written in code page 936.");
  app.CloseMessageBox(box);
  std::string bytes;
  ASSERT_TRUE(ReadBytes(path, bytes));
  EXPECT_EQ(bytes, "old content\r\n") << "the old file is as it was";
}

TEST_F(Utf8SystemE2e, WritesEveryCharacterInUtf8WithoutAByteOrderMark) {
  ASSERT_EQ(GetACP(), 65001u) << "this case runs in a locale whose ANSI code page is UTF-8 (see tests/CMakeLists.txt)";
  GeneratePasted(kWorldTemplate, 2);
  ASSERT_EQ(app.Text(app.Control(kSaveMemo2)), "文件0 😀 한 é ก\r\n文件1 😀 한 é ก\r\n");
  const std::wstring folder = TempFolder("utf8");
  SaveAs(folder + L"\\world.txt");
  EXPECT_TRUE(app.Dialogs().empty()) << "no message";
  std::string bytes;
  ASSERT_TRUE(ReadBytes(folder + L"\\world.txt", bytes));
  EXPECT_EQ(bytes,
            "\xE6\x96\x87\xE4\xBB\xB6" "0 \xF0\x9F\x98\x80 \xED\x95\x9C \xC3\xA9 \xE0\xB8\x81\r\n"
            "\xE6\x96\x87\xE4\xBB\xB6" "1 \xF0\x9F\x98\x80 \xED\x95\x9C \xC3\xA9 \xE0\xB8\x81\r\n");
}

}  // namespace
}  // namespace vormix::e2e
