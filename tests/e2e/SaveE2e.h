#pragma once
// Generating and saving in the real program under Wine: the template typed or pasted,
// the save dialog answered with a typed name, as a person would.
#include <gtest/gtest.h>

#include <string>

#include "Driver.h"

namespace vormix::e2e {

constexpr int kSaveMemo1 = 201, kSaveMemo2 = 202, kSaveGenerate = 301, kSaveButton = 302, kSaveCount = 117;

class SaveE2e : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(app.Started()); }

  void Generate(const std::string& templ, int count) {
    app.Click(app.Control(kSaveMemo1));
    app.TypeText(templ);
    GenerateWithCount(count);
  }
  // The template comes through the clipboard: characters beyond the keyboard's, those
  // outside the 16-bit range too, arrive whole.
  void GeneratePasted(const std::string& templ, int count) {
    SetClipboardText(templ);
    app.Click(app.Control(kSaveMemo1));
    app.PressKey('V', false, true);
    GenerateWithCount(count);
  }
  void GenerateWithCount(int count) {
    app.SetText(app.Control(kSaveCount), std::to_string(count));
    app.Click(app.Control(kSaveGenerate));
    ASSERT_TRUE(WaitUntil([&] { return !app.Text(app.Control(kSaveMemo2)).empty(); }));
  }

  // Opens the save dialog and answers it with a typed name; returns the dialog.
  HWND OpenSaveDialog() {
    app.Click(app.Control(kSaveButton));
    return app.WaitForDialog("");
  }
  void TypeNameAndConfirm(HWND dialog, const std::wstring& name) {
    HWND box = app.FocusIn(dialog);
    ASSERT_NE(box, nullptr);
    SendMessageW(box, EM_SETSEL, 0, -1);
    app.TypeText(U(name));
    app.PressKey(VK_RETURN);
  }
  void SaveAs(const std::wstring& name) {
    HWND dialog = OpenSaveDialog();
    ASSERT_NE(dialog, nullptr) << "no save dialog";
    TypeNameAndConfirm(dialog, name);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); })) << "the save dialog did not close";
    app.Settle();
  }

  VormixProcess app;
};

}  // namespace vormix::e2e
