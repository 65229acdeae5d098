// The memory window system is the stage every control test plays on, so its input must
// travel the way Windows delivers it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/RecordingHandler.h"
#include "platform/memory/MemoryServices.h"
#include "platform/memory/MemoryWindowSystem.h"

namespace vormix {
namespace {

struct TRecorder : INativeWindowHandler {
  std::vector<std::string> Log;
  bool TakeDialogKeys = false;
  bool ConsumeKeyDown = false;
  bool RefusePaste = false;
  MemoryWindowSystem* Windows = nullptr;
  INativeWindow* Window = nullptr;
  bool DropCharacter = false;

  bool NativeDialogKey(TKey key, TShiftState) override {
    Log.push_back("dialog " + std::to_string(key));
    return TakeDialogKeys;
  }
  void NativeKeyDown(TKey& key, TShiftState) override {
    Log.push_back("down " + std::to_string(key));
    if (ConsumeKeyDown) key = 0;
    if (DropCharacter) Windows->RemovePendingCharacter(*Window);
  }
  void NativeChar(char16_t& ch) override { Log.push_back("char " + std::to_string(ch)); }
  void NativeKeyUp(TKey& key, TShiftState) override { Log.push_back("up " + std::to_string(key)); }
  void NativeFocusIn() override { Log.push_back("focus in"); }
  void NativeFocusOut() override { Log.push_back("focus out"); }
  void NativeTextChanged() override { Log.push_back("changed"); }
  bool NativePaste() override { return !RefusePaste; }
};

class MemoryInput : public testing::Test {
 protected:
  std::unique_ptr<INativeEdit> MakeEdit(TRecorder& handler, bool multiLine = false) {
    TNativeWindowParams params;
    TNativeEditStyle style;
    style.MultiLine = multiLine;
    auto edit = windows.CreateEdit(params, style, handler);
    handler.Windows = &windows;
    handler.Window = edit.get();
    return edit;
  }
  MemoryBeep beep;
  MemoryClipboard clipboard;
  MemoryWindowSystem windows{beep, clipboard};
};

TEST_F(MemoryInput, KeyTravelsAsDialogKeyThenDownCharacterAndUp) {
  TRecorder r;
  auto edit = MakeEdit(r);
  edit->SetFocus();
  r.Log.clear();
  windows.PressKey('A', ssShift);
  EXPECT_EQ(r.Log, (std::vector<std::string>{"dialog 65", "down 65", "char 65", "changed", "up 65"}));
  EXPECT_EQ(edit->Text(), "A");
}

TEST_F(MemoryInput, DialogKeyTakenByTheWindowNeverReachesTheControl) {
  TRecorder r;
  r.TakeDialogKeys = true;
  auto edit = MakeEdit(r);
  edit->SetFocus();
  r.Log.clear();
  windows.PressKey(vk::Tab);
  EXPECT_EQ(r.Log, (std::vector<std::string>{"dialog 9"}));
}

TEST_F(MemoryInput, ConsumedKeyDownStillYieldsItsCharacterUnlessItIsDropped) {
  TRecorder r;
  r.ConsumeKeyDown = true;
  auto edit = MakeEdit(r);
  edit->SetFocus();
  windows.TypeText("x");
  EXPECT_EQ(edit->Text(), "x") << "a key-down consumed alone still sends its character";
  r.DropCharacter = true;
  windows.TypeText("y");
  EXPECT_EQ(edit->Text(), "x");
}

TEST_F(MemoryInput, EditControlTypesDeletesAndMovesLikeTheNativeOne) {
  TRecorder r;
  auto edit = MakeEdit(r);
  edit->SetFocus();
  windows.TypeText("12345");
  windows.PressKey(vk::Left);
  windows.PressKey(vk::Back);
  windows.PressKey(vk::Home);
  windows.PressKey(vk::Delete);
  EXPECT_EQ(edit->Text(), "235");
  windows.PressKey(vk::End, ssShift);
  windows.TypeText("9");
  EXPECT_EQ(edit->Text(), "9");
  windows.PressKey(vk::Return);
  EXPECT_EQ(beep.Beeps, (std::vector<unsigned>{0})) << "a single-line control beeps at Enter";
}

TEST_F(MemoryInput, PasteAsksFirstAndASingleLineTakesOnlyTheFirstLine) {
  TRecorder r;
  auto edit = MakeEdit(r);
  edit->SetFocus();
  clipboard.SetText("ab\r\ncd");
  windows.PressKey('V', ssCtrl);
  EXPECT_EQ(edit->Text(), "ab");
  r.RefusePaste = true;
  windows.PressKey('V', ssCtrl);
  EXPECT_EQ(edit->Text(), "ab");

  TRecorder m;
  auto memo = MakeEdit(m, true);
  memo->SetFocus();
  windows.PressKey('V', ssCtrl);
  EXPECT_EQ(memo->Text(), "ab\r\ncd");
}

TEST(MemoryServices, CodePageKnowsOnlyItsTableAndFilesRecordTheirBytes) {
  MemoryCodePage codePage;
  EXPECT_EQ(codePage.ToAnsi("文件1").Bytes, "\xCE\xC4\xBC\xFE" "1");
  const TAnsiConversion missing = codePage.ToAnsi("a龘b");
  EXPECT_FALSE(missing.Complete);
  EXPECT_EQ(missing.FirstMissing, "龘");

  MemoryFileSystem files;
  files.WriteLimit = 3;
  {
    TFileCreateResult created = files.CreateNew("x");
    EXPECT_EQ(files.OpenFiles, 1);
    EXPECT_EQ(created.File->Write("abcdef"), 3u);
  }
  EXPECT_EQ(files.OpenFiles, 0);
  EXPECT_EQ(files.Files.at("x"), "abc");
}

TEST(MemorySystem, BroadcastsReachTheMessageWindowsInCreationOrderAndNoOtherWindow) {
  MemoryBeep beep;
  MemoryClipboard clipboard;
  MemoryWindowSystem windows{beep, clipboard};
  TLines log;
  TRecordingHandler first{log, "first"}, second{log, "second"}, formLog{log, "form"};
  TNativeWindowParams params;
  params.Bounds = {0, 0, 100, 100};
  auto form = windows.CreateForm(params, {}, formLog);
  form->Show();
  auto one = windows.CreateMessageWindow(first);
  auto two = windows.CreateMessageWindow(second);
  EXPECT_FALSE(one->IsVisible());
  windows.BroadcastThemeChanged();
  windows.BroadcastSystemColorsChanged();
  EXPECT_EQ(log, (TLines{"first theme changed", "second theme changed", "first colours changed",
                         "second colours changed"}));
  EXPECT_EQ(windows.WindowFromPoint({0, 0}), form.get()) << "message windows are never under the pointer";
}

TEST(MemorySystem, SwitchingApplicationsTellsEveryFormAndTakesTheFocusAwayUntilTheReturn) {
  MemoryBeep beep;
  MemoryClipboard clipboard;
  MemoryWindowSystem windows{beep, clipboard};
  TLines log;
  TRecordingHandler formLog{log, "form"}, otherLog{log, "other"}, editLog{log, "edit"};
  auto form = windows.CreateForm({}, {}, formLog);
  auto other = windows.CreateForm({}, {}, otherLog);
  form->Show();
  TNativeWindowParams params;
  params.Parent = form.get();
  auto edit = windows.CreateEdit(params, {}, editLog);
  edit->SetFocus();
  log.clear();
  windows.ActivateApplication(false);
  EXPECT_EQ(windows.Focused(), nullptr);
  windows.ActivateApplication(false);
  windows.ActivateApplication(true);
  EXPECT_TRUE(edit->HasFocus());
  EXPECT_EQ(log, (TLines{"form app inactive", "other app inactive", "edit focus out", "form app active",
                         "other app active", "edit focus in"}));
}

TEST(MemorySystem, SystemValuesAreWinesAndTestsCanChangeTheMetrics) {
  MemoryBeep beep;
  MemoryClipboard clipboard;
  MemoryWindowSystem windows{beep, clipboard};
  for (TSystemMetric m : {TSystemMetric::smCxVScroll, TSystemMetric::smCyHScroll, TSystemMetric::smCyVThumb,
                          TSystemMetric::smCxHThumb})
    EXPECT_EQ(windows.SystemMetric(m), 17);
  EXPECT_EQ(windows.SystemMetric(TSystemMetric::smCxEdge), 2);
  windows.SetSystemMetric(TSystemMetric::smCxVScroll, 25);
  EXPECT_EQ(windows.SystemMetric(TSystemMetric::smCxVScroll), 25);
  EXPECT_EQ(windows.SystemMetric(TSystemMetric::smCyHScroll), 17);
  for (int index : {5, 15, 16})  // window, button face, button shadow
    EXPECT_EQ(windows.SystemColor(index), MemorySystemColor(index));
}

}  // namespace
}  // namespace vormix
