// Saving the results area through the save dialog, on the memory desktop: what the
// dialog is asked, the bytes written, and every way saving can fail.
#include <gtest/gtest.h>

#include "app/MainFormFixture.h"
#include "forms/Dialogs.h"

namespace vormix {
namespace {

class MainFormSave : public MainFormTest {
 protected:
  void Save(std::optional<std::string> answer) {
    desk.saveDialog.Answers.push_back(std::move(answer));
    Press(*form.cxButton2);
  }
};

TEST_F(MainFormSave, DialogIsAskedWithTheWindowsSettings) {
  Save(std::nullopt);
  ASSERT_EQ(desk.saveDialog.Requests.size(), 1u);
  const TSaveDialogRequest& request = desk.saveDialog.Requests[0];
  EXPECT_EQ(request.Owner, form.Window());
  EXPECT_EQ(request.DefaultExt, "txt") << "the system wants it without the dot";
  EXPECT_EQ(request.Filter, "文本文件(*.txt)|*.txt");
  EXPECT_EQ(request.FilterIndex, 1);
  EXPECT_TRUE(request.OverwritePrompt);
  EXPECT_TRUE(request.HideReadOnly);
  EXPECT_TRUE(request.EnableSizing);
  EXPECT_EQ(request.FileName, "");
  EXPECT_EQ(request.InitialDir, "");
  EXPECT_EQ(request.Title, "");
  ASSERT_TRUE(request.Place);
}

TEST_F(MainFormSave, CancelWritesNothingAndChangesNothing) {
  Generate("a%d", 2);
  Save(std::nullopt);
  EXPECT_TRUE(desk.files.CreatedPaths.empty());
  EXPECT_TRUE(desk.messageBox.Shown.empty());
  EXPECT_EQ(form.SaveDialog1->FileName, "");
  EXPECT_EQ(Results(), "a0\r\na1\r\n");
  EXPECT_TRUE(desk.HasFocus(*form.cxButton2)) << "the focus comes back";
}

TEST_F(MainFormSave, WritesTheResultsInTheCodePageAndRemembersThePath) {
  Generate("文件%d.txt", 2);
  Save("C:\\out\\a.txt");
  EXPECT_EQ(desk.files.Files["C:\\out\\a.txt"], "\xCE\xC4\xBC\xFE" "0.txt\r\n\xCE\xC4\xBC\xFE" "1.txt\r\n");
  EXPECT_EQ(desk.files.OpenFiles, 0) << "the file is closed";
  EXPECT_EQ(Results(), "文件0.txt\r\n文件1.txt\r\n") << "saving never changes the results";
  EXPECT_EQ(form.SaveDialog1->FileName, "C:\\out\\a.txt");

  Save("C:\\out\\b.txt");
  EXPECT_EQ(desk.saveDialog.Requests.back().FileName, "C:\\out\\a.txt");
  EXPECT_EQ(form.SaveDialog1->FileName, "C:\\out\\b.txt");
}

TEST_F(MainFormSave, TextIsWrittenAsItStandsEvenWithoutAFinalLineBreak) {
  Save("C:\\empty.txt");
  EXPECT_EQ(desk.files.Files.at("C:\\empty.txt"), "") << "an empty results area gives 0 bytes";

  form.cxMemo2->SetText("typed\r\nby hand");
  desk.files.Files["C:\\old.txt"] = std::string(100, 'z');
  Save("C:\\old.txt");
  EXPECT_EQ(desk.files.Files.at("C:\\old.txt"), "typed\r\nby hand");
}

TEST_F(MainFormSave, FileThatCannotBeCreatedIsReportedWithThePathAndTheSystemsWords) {
  Generate("a%d", 1);
  desk.files.CreateErrors["C:\\missing\\out.txt"] = "The system cannot find the path specified. \r\n";
  Save("C:\\missing\\out.txt");
  ASSERT_EQ(desk.messageBox.Shown.size(), 1u);
  EXPECT_EQ(desk.messageBox.Shown[0].Text,
            "Cannot create file \"C:\\missing\\out.txt\". The system cannot find the path specified.");
  EXPECT_EQ(desk.messageBox.Shown[0].Caption, "Vormix");
  EXPECT_EQ(desk.messageBox.Shown[0].Icon, TMessageIcon::Error);
  EXPECT_FALSE(desk.files.Files.contains("C:\\missing\\out.txt"));
}

TEST_F(MainFormSave, ShortWriteIsReportedAndTheFileKeepsWhatWasWritten) {
  Generate("line %d", 3);
  desk.files.WriteLimit = 5;
  Save("C:\\full.txt");
  ASSERT_EQ(desk.messageBox.Shown.size(), 1u);
  EXPECT_EQ(desk.messageBox.Shown[0].Text, "Stream write error.");
  EXPECT_EQ(desk.files.Files.at("C:\\full.txt"), "line ");
  EXPECT_EQ(desk.files.OpenFiles, 0) << "the file is closed all the same";
}

TEST_F(MainFormSave, CharacterTheCodePageLacksFailsBeforeAnythingIsTouched) {
  form.cxMemo2->SetText("copy 😀.txt\r\n");
  desk.files.Files["C:\\keep.txt"] = "old content";
  Save("C:\\keep.txt");
  ASSERT_EQ(desk.messageBox.Shown.size(), 1u);
  EXPECT_EQ(desk.messageBox.Shown[0].Text,
            "Cannot save to file \"C:\\keep.txt\": the character \"😀\" cannot be written in code page 936.");
  EXPECT_EQ(desk.files.Files.at("C:\\keep.txt"), "old content") << "never a '?' in place of a character";
  EXPECT_TRUE(desk.files.CreatedPaths.empty());
}

TEST(CommonDialogPlace, CentredWithOneThirdOfTheFreeHeightAbove) {
  EXPECT_EQ(PlaceCommonDialog({0, 0, 1280, 1024}, {580, 424}), (TPoint{350, 200}));
  EXPECT_EQ(PlaceCommonDialog({1280, 0, 2560, 994}, {600, 400}), (TPoint{1620, 198}));
}

}  // namespace
}  // namespace vormix
