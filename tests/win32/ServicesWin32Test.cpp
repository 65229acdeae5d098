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
