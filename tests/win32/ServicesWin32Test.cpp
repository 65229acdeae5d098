// The small Win32 services on the real system: the ANSI code page and files.
#include <gtest/gtest.h>

#include <windows.h>

#include "platform/win32/Win32Services.h"
#include "platform/win32/Win32Text.h"

namespace vormix {
namespace {

TEST(Win32CodePage, ChineseTextBecomesTwoBytesPerCharacterInCodePage936) {
  Win32CodePage codePage;
  ASSERT_EQ(codePage.CodePageId(), 936u) << "the tests run in a Simplified-Chinese locale";
  const TAnsiConversion ansi = codePage.ToAnsi("文件0.txt\r\n");
  EXPECT_TRUE(ansi.Complete);
  EXPECT_EQ(ansi.Bytes, "\xCE\xC4\xBC\xFE" "0.txt\r\n");
  EXPECT_EQ(codePage.FromAnsi(ansi.Bytes), "文件0.txt\r\n");
}

TEST(Win32CodePage, ReportsTheFirstCharacterTheCodePageLacksInsteadOfGuessing) {
  Win32CodePage codePage;
  for (const char* text : {"a😀b", "x한y", "ก"}) {
    SCOPED_TRACE(text);
    const TAnsiConversion ansi = codePage.ToAnsi(text);
    EXPECT_FALSE(ansi.Complete);
    EXPECT_TRUE(ansi.Bytes.empty());
  }
  EXPECT_EQ(codePage.ToAnsi("a😀b").FirstMissing, "😀");
  EXPECT_EQ(codePage.ToAnsi("x한y").FirstMissing, "한");
}

// The same conversion in three code pages: the Chinese one, the Western one and UTF-8,
// which Windows 10 and later can use as the system's ANSI code page. A text goes over
// whole, with nothing added in front, or not at all.
TEST(Win32CodePage, ConvertsInTheCodePageItIsMadeForAndRefusesWhatThatOneLacks) {
  struct TRow {
    unsigned CodePage;
    const char* Text;
    const char* Bytes;    // when complete
    const char* Missing;  // otherwise: the first character without a form
  };
  const TRow rows[] = {
      {936, "文件0.txt\r\n", "\xCE\xC4\xBC\xFE" "0.txt\r\n", nullptr},
      {936, "a😀b", nullptr, "😀"},
      {936, "x한y", nullptr, "한"},
      {1252, "café 5€\r\n", "caf\xE9 5\x80\r\n", nullptr},
      {1252, "ab文件", nullptr, "文"},
      {1252, "Ā", nullptr, "Ā"},  // best fit would make it 'A'
      {65001, "文件0.txt\r\n", "文件0.txt\r\n", nullptr},
      {65001, "😀 한 é € ก\r\n", "😀 한 é € ก\r\n", nullptr},
      {65001, "", "", nullptr},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(std::to_string(row.CodePage) + ": " + row.Text);
    const Win32CodePage codePage(row.CodePage);
    EXPECT_EQ(codePage.CodePageId(), row.CodePage);
    const TAnsiConversion ansi = codePage.ToAnsi(row.Text);
    if (row.Bytes) {
      EXPECT_TRUE(ansi.Complete);
      EXPECT_EQ(ansi.Bytes, row.Bytes);
      EXPECT_EQ(codePage.FromAnsi(ansi.Bytes), row.Text);
    } else {
      EXPECT_FALSE(ansi.Complete);
      EXPECT_EQ(ansi.Bytes, "");
      EXPECT_EQ(ansi.FirstMissing, row.Missing);
    }
  }
}

class Win32Files : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t base[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, base);
    m_folder = Narrow(base) + "vormix-files-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryW(Widen(m_folder).c_str(), nullptr);
  }
  std::string ReadBack(const std::string& path) {
    HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    if (!bytes.empty()) ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    return bytes.substr(0, read);
  }
  std::string m_folder;
  Win32FileSystem files;
};

TEST_F(Win32Files, NewFileReplacesAnOldOneAndHoldsExactlyWhatWasWritten) {
  const std::string path = m_folder + "\\out.txt";
  {
    TFileCreateResult first = files.CreateNew(path);
    ASSERT_TRUE(first.File);
    EXPECT_EQ(first.File->Write(std::string(500, 'z')), 500u);
  }
  {
    TFileCreateResult second = files.CreateNew(path);
    ASSERT_TRUE(second.File);
    EXPECT_EQ(second.File->Write("a0\r\n"), 4u);
  }
  EXPECT_EQ(ReadBack(path), "a0\r\n");
}

TEST_F(Win32Files, FileIsNotSharedWhileItIsWritten) {
  const std::string path = m_folder + "\\locked.txt";
  TFileCreateResult open = files.CreateNew(path);
  ASSERT_TRUE(open.File);
  TFileCreateResult again = files.CreateNew(path);
  EXPECT_FALSE(again.File);
  EXPECT_FALSE(again.ErrorText.empty());
}

TEST_F(Win32Files, MissingFolderGivesTheSystemsDescription) {
  TFileCreateResult result = files.CreateNew(m_folder + "\\no-such-folder\\out.txt");
  EXPECT_FALSE(result.File);
  EXPECT_FALSE(result.ErrorText.empty());
  EXPECT_NE(result.ErrorText.back(), '\n');
}

}  // namespace
}  // namespace vormix
