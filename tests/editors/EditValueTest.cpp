// The edit value of a text editor: storing it, the events a store raises, holding those
// events, loading, and the permission to edit.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "editors/EditorForm.h"

namespace vormix {
namespace {

using EditorDefaults = EditorForm;
using EditValueStore = EditorForm;
using EditChangeEvents = EditorForm;
using EditPermission = EditorForm;

TEST_F(EditorDefaults, AFreshTextEditorIsEmptyAndPermissive) {
  const TcxTextEdit edit;
  EXPECT_EQ(Describe(edit.EditValue()), "Null");
  EXPECT_EQ(edit.Text(), "");
  EXPECT_TRUE(edit.AutoSize());
  EXPECT_TRUE(edit.TabStop());
  EXPECT_TRUE(edit.BeepOnEnter);
  const TcxCustomTextEditProperties& p = edit.Properties();
  EXPECT_TRUE(p.AutoSelect());
  EXPECT_FALSE(p.BeepOnError());
  EXPECT_FALSE(p.ReadOnly());
  EXPECT_EQ(p.AssignedValues() & evReadOnly, 0u) << "read-only is answered by the provider until assigned";
  EXPECT_FALSE(p.ImmediatePost());
  EXPECT_FALSE(p.ValidateOnEnter()) << "the plain text editor commits on leaving only";
  EXPECT_TRUE(p.HideSelection());
  EXPECT_TRUE(p.UseLeftAlignmentOnEditing());
  EXPECT_EQ(p.Alignment().Horz, TAlignment::taLeftJustify);
  EXPECT_EQ(p.Alignment().Vert, TcxEditVertAlignment::taTopJustify);
  EXPECT_EQ(p.CharCase(), TcxEditCharCase::ecNormal);
  EXPECT_EQ(p.EchoMode(), TcxEditEchoMode::eemNormal);
  EXPECT_FALSE(edit.EditedSinceEnter());
  EXPECT_FALSE(edit.UserModified());
}

// Only a value of another type, or another value, counts as a change; the text editor's
// OnChange comes from its text, so it fires only when the text differs.
TEST_F(EditValueStore, RaisesEditValueChangedOnlyForADifferentTypeOrValue) {
  struct TRow {
    Variant Before, After;
    Strings Events;
    const char* Text;
  };
  const TRow rows[] = {
      {Variant::FromInt64(1), Variant::FromInt64(1), {}, "1"},
      {Variant::FromInt64(1), Variant::FromShortInt(1), {"value first"}, "1"},
      {Variant::FromString("1"), Variant::FromInt64(1), {"value first"}, "1"},
      {Variant::FromString("a"), Variant::FromString("a"), {}, "a"},
      {Variant::FromString("a"), Variant::FromString("b"), {"change first", "value first"}, "b"},
      {Variant::Null(), Variant::Null(), {}, ""},
      {Variant::Null(), Variant::FromString(""), {"value first"}, ""},
      {Variant::FromString("x"), Variant::Null(), {"change first", "value first"}, ""},
  };
  ShowForm();
  button->SetFocus();
  for (const TRow& row : rows) {
    SCOPED_TRACE(Describe(row.Before) + " -> " + Describe(row.After));
    first->SetEditValue(row.Before);
    log.clear();
    first->SetEditValue(row.After);
    EXPECT_EQ(log, row.Events);
    EXPECT_EQ(Describe(first->EditValue()), Describe(row.After));
    EXPECT_EQ(first->Text(), row.Text);
    EXPECT_FALSE(first->EditedSinceEnter());
    EXPECT_FALSE(first->UserModified());
  }
}

TEST_F(EditValueStore, ProgramAssignmentWhileTypingReplacesTheTextAndSkipsTheCheck) {
  int validations = 0;
  first->Properties().OnValidate = [&](TObject&, Variant&, std::string&, bool& error) {
    ++validations;
    error = true;
  };
  ShowForm();
  Type("typed");
  ASSERT_TRUE(first->EditedSinceEnter());
  ASSERT_TRUE(first->UserModified());
  log.clear();

  first->SetEditValue(Variant::FromString("program"));
  EXPECT_EQ(first->Text(), "program");
  EXPECT_EQ(Describe(first->EditValue()), "String:program");
  EXPECT_FALSE(first->EditedSinceEnter());
  EXPECT_FALSE(first->UserModified());
  EXPECT_EQ(StateOf(*first), "Clean");
  EXPECT_EQ(log, (Strings{"change first", "value first"}));

  log.clear();
  Press(vk::Tab);
  EXPECT_EQ(validations, 0) << "nothing typed is left to check";
  EXPECT_TRUE(second->Focused());
  EXPECT_EQ(log, (Strings{"exit first", "enter second"}));
  EXPECT_EQ(Describe(first->EditValue()), "String:program");
}

TEST_F(EditValueStore, ClearValueStoresNullAndEmptiesTheText) {
  first->SetEditValue(Variant::FromString("abc"));
  log.clear();
  first->ClearValue();
  EXPECT_EQ(Describe(first->EditValue()), "Null");
  EXPECT_EQ(first->Text(), "");
  EXPECT_EQ(log, (Strings{"change first", "value first"}));
  log.clear();
  first->ClearValue();
  EXPECT_EQ(log, Strings{});
}

TEST_F(EditValueStore, ASettingsChangeNeverOverwritesWhatIsBeingTyped) {
  first->SetEditValue(Variant::FromString("abc"));
  ShowForm();
  Type("typed");
  first->Properties().SetBeepOnError(true);
  first->Properties().SetAlignment({TAlignment::taCenter, TcxEditVertAlignment::taTopJustify});
  EXPECT_EQ(first->Text(), "typed");
  EXPECT_EQ(StateOf(*first), "Edited");

  Press(vk::Escape);
  first->Properties().SetHideSelection(false);
  EXPECT_EQ(first->Text(), "abc");
}

// The clear key empties the field as a user change: it is asked for, and what it
// leaves needs no further check.
TEST_F(EditValueStore, TheClearKeyStoresNullAsAUserChange) {
  int checks = 0;
  first->Properties().OnValidate = [&](TObject&, Variant&, std::string&, bool& error) {
    ++checks;
    error = true;
  };
  bool allow = false;
  first->OnEditing = [&](TObject&, bool& canEdit) { canEdit = allow; };
  first->ClearKey = {vk::Delete, ssCtrl};
  first->SetEditValue(Variant::FromString("abc"));
  ShowForm();

  Press(vk::Delete, ssCtrl);
  EXPECT_EQ(first->Text(), "abc") << "refused";
  EXPECT_EQ(StateOf(*first), "Clean");
  EXPECT_EQ(log, Strings{});

  allow = true;
  Press(vk::Delete, ssCtrl);
  EXPECT_EQ(first->Text(), "");
  EXPECT_EQ(Describe(first->EditValue()), "Null");
  EXPECT_TRUE(first->EditedSinceEnter());
  EXPECT_TRUE(first->UserModified());
  EXPECT_EQ(log, (Strings{"change first", "value first"}));
  Press(vk::Tab);
  EXPECT_EQ(checks, 0);
  EXPECT_TRUE(second->Focused());
}

TEST_F(EditChangeEvents, NestedHoldsDeliverEachEventOnceWhenTheOutermostEndsOnChangeFirst) {
  first->SetEditValue(Variant::FromInt64(1));
  log.clear();
  {
    TcxChangeEventsHold outer(*first);
    first->SetEditValue(Variant::FromShortInt(1));  // the value changes, the text does not
    {
      TcxChangeEventsHold inner(*first);
      first->SetEditValue(Variant::FromString("2"));
    }
    EXPECT_EQ(log, Strings{}) << "an inner hold delivers nothing";
    first->SetEditValue(Variant::FromString("3"));
    EXPECT_EQ(log, Strings{});
  }
  EXPECT_EQ(log, (Strings{"change first", "value first"}));
  form.Show();
  EXPECT_EQ(first->Text(), "3");
}

TEST_F(EditChangeEvents, AHoldLeftByAnErrorDropsWhatItHeld) {
  try {
    TcxChangeEventsHold hold(*first);
    first->SetEditValue(Variant::FromString("x"));
    throw Error("stop");
  } catch (const Error& e) {
    EXPECT_EQ(e.Text(), "stop");
  }
  EXPECT_EQ(log, Strings{});
  { TcxChangeEventsHold quiet(*first); }
  EXPECT_EQ(log, Strings{}) << "what the failed hold caught is not delivered later either";
  first->SetEditValue(Variant::FromString("y"));
  EXPECT_EQ(log, (Strings{"change first", "value first"}));
}

// Settings and values assigned while a form is being built reach no handler, whether
// the editor has its native control yet or not.
TEST_F(EditChangeEvents, NothingReachesUserCodeWhileLoading) {
  for (bool shown : {false, true}) {
    SCOPED_TRACE(shown ? "with native control" : "before the form is shown");
    if (shown) ShowForm();
    TcxTextEdit& edit = shown ? *second : *first;
    log.clear();
    edit.BeginLoading();
    EXPECT_GT(edit.SettingValue(), 0);
    edit.SetEditValue(Variant::FromString("stored"));
    edit.Properties().SetReadOnly(false);
    edit.Properties().SetAlignment({TAlignment::taRightJustify, TcxEditVertAlignment::taVCenter});
    edit.SetEditValue(Variant::FromInt64(7));
    edit.EndLoading();
    EXPECT_EQ(log, Strings{});
    EXPECT_EQ(edit.SettingValue(), 0);
    EXPECT_EQ(edit.Text(), shown ? "7" : "") << "without its native control an editor has no text to read";
    EXPECT_EQ(Describe(edit.EditValue()), "Int64:7");

    edit.SetEditValue(Variant::FromInt64(8));
    EXPECT_EQ(log, (Strings{"change " + edit.Name(), "value " + edit.Name()})) << "after loading events flow again";
  }
}

TEST_F(EditPermission, AssignmentsFromInsideOnEditingAreIgnored) {
  first->SetEditValue(Variant::FromString("abc"));
  std::vector<int> askedWhileAsking;
  first->OnEditing = [&](TObject&, bool&) {
    askedWhileAsking.push_back(first->AskingToEdit());
    first->SetEditValue(Variant::FromString("hijack"));
  };
  ShowForm();
  Type("xy");
  EXPECT_EQ(askedWhileAsking, (std::vector<int>{1})) << "asked once per edit cycle";
  EXPECT_EQ(first->AskingToEdit(), 0);
  EXPECT_EQ(first->Text(), "xy");
  EXPECT_EQ(Describe(first->EditValue()), "String:abc");
  Press(vk::Tab);
  EXPECT_EQ(Describe(first->EditValue()), "String:xy");
}

// Every way of changing the text by keyboard, starting from "abc" wholly selected.
struct TEditAttempt {
  const char* Name;
  TKey Key;
  TShiftState Shift;
};
const TEditAttempt kEditAttempts[] = {
    {"Backspace", vk::Back, 0},          {"Delete", vk::Delete, 0},       {"typing", vk::Letter('Z'), 0},
    {"paste", vk::Letter('V'), ssCtrl},  {"cut", vk::Letter('X'), ssCtrl}, {"Shift+Delete", vk::Delete, ssShift},
};

TEST_F(EditPermission, ReadOnlyRefusesEveryChange) {
  int asked = 0;
  first->OnEditing = [&](TObject&, bool&) { ++asked; };
  first->SetEditValue(Variant::FromString("abc"));
  first->Properties().SetReadOnly(true);
  desk.clipboard.SetText("pasted");
  ShowForm();
  for (const TEditAttempt& attempt : kEditAttempts) {
    SCOPED_TRACE(attempt.Name);
    first->SelectAll();
    Press(attempt.Key, attempt.Shift);
    EXPECT_EQ(first->Text(), "abc");
    EXPECT_EQ(StateOf(*first), "Clean");
    EXPECT_EQ(*desk.clipboard.Text(), "pasted");
  }
  EXPECT_EQ(asked, 0) << "a read-only editor does not ask its handler";
  EXPECT_EQ(log, Strings{});
}

TEST_F(EditPermission, OnEditingThatSaysNoRefusesEveryChange) {
  int asked = 0;
  first->OnEditing = [&](TObject&, bool& canEdit) {
    ++asked;
    canEdit = false;
  };
  first->SetEditValue(Variant::FromString("abc"));
  desk.clipboard.SetText("pasted");
  ShowForm();
  for (const TEditAttempt& attempt : kEditAttempts) {
    SCOPED_TRACE(attempt.Name);
    first->SelectAll();
    asked = 0;
    Press(attempt.Key, attempt.Shift);
    EXPECT_EQ(first->Text(), "abc");
    EXPECT_EQ(StateOf(*first), "Clean");
    EXPECT_EQ(*desk.clipboard.Text(), "pasted");
    EXPECT_GE(asked, 1);
  }
  EXPECT_EQ(log, Strings{});

  first->OnEditing = nullptr;
  Type("ok");
  EXPECT_EQ(first->Text(), "ok") << "a handler that is gone refuses nothing";
}

// A value a handler stores while a keystroke, a paste or a cut is processed counts as
// the user's change: the editor stays edited and checks the text when it is left. A
// value the program stores from outside is no edit.
TEST_F(EditValueStore, AValueStoredByOnChangeDuringTheUsersChangeIsHisChange) {
  struct TRow {
    const char* Name;
    std::function<void()> Act;
    bool Applying;      // what the handler sees of ApplyingUserChange
    const char* State;  // afterwards
    int Checks;         // on leaving
  };
  const TRow rows[] = {
      {"typing", [this] { Type("x"); }, true, "Edited", 1},
      {"Backspace", [this] { Press(vk::Back); }, true, "Edited", 1},
      {"paste", [this] { Press(vk::Letter('V'), ssCtrl); }, true, "Edited", 1},
      {"cut", [this] { Press(vk::Letter('X'), ssCtrl); }, true, "Edited", 1},
      {"program", [this] { first->SetEditValue(Variant::FromString("set")); }, false, "Clean", 0},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    std::vector<bool> applying;
    int checks = 0;
    first->Properties().OnChange = [&](TObject&) {
      applying.push_back(first->ApplyingUserChange());
      if (first->Text() != "STORED") first->SetEditValue(Variant::FromString("STORED"));
    };
    first->Properties().OnValidate = [&](TObject&, Variant&, std::string&, bool&) { ++checks; };
    first->OnEditing = nullptr;
    first->SetEditValue(Variant::FromString("abc"));
    desk.clipboard.SetText("pasted");
    ShowForm();
    first->SetFocus();
    first->SelectAll();
    applying.clear();
    row.Act();
    EXPECT_EQ(first->Text(), "STORED");
    ASSERT_FALSE(applying.empty());
    EXPECT_EQ(applying.front(), row.Applying);
    EXPECT_EQ(StateOf(*first), row.State);
    EXPECT_EQ(first->UserModified(), row.Applying);
    EXPECT_FALSE(first->ApplyingUserChange()) << "only while the change is processed";
    Press(vk::Tab);
    EXPECT_EQ(checks, row.Checks);
    EXPECT_EQ(Describe(first->EditValue()), "String:STORED");
    first->Properties().OnChange = nullptr;
  }
}

// An OnChange handler that fails when the program stores a value: the error goes to the
// code that stored it (not to the error report), and OnEditValueChanged is not raised.
// When the user's typing makes it fail, the error report shows it.
TEST_F(EditValueStore, AnOnChangeErrorOfAProgramAssignmentReachesTheCaller) {
  struct TRow {
    const char* Name;
    bool Shown;  // the editor has its native control
    std::function<void(TcxTextEdit&)> Assign;
  };
  const TRow rows[] = {
      {"EditValue", true, [](TcxTextEdit& e) { e.SetEditValue(Variant::FromString("new")); }},
      {"Text", true, [](TcxTextEdit& e) { e.SetText("new"); }},
      {"ClearValue", true, [](TcxTextEdit& e) { e.ClearValue(); }},
      {"EditValue before the form is shown", false, [](TcxTextEdit& e) { e.SetEditValue(Variant::FromString("new")); }},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TCustomForm form2{desk.app, "Form2"};
    auto edit = Place<TcxTextEdit>(form2, "edit", 8, 8, 120, 21);
    edit->SetEditValue(Variant::FromString("old"));
    std::vector<std::string> events;
    edit->Properties().OnChange = [&](TObject&) {
      events.push_back("change");
      throw Error("the handler failed");
    };
    edit->Properties().OnEditValueChanged = [&](TObject&) { events.push_back("value"); };
    if (row.Shown) form2.Show();
    std::string caught;
    try {
      row.Assign(*edit);
    } catch (const Error& e) {
      caught = e.Text();
    }
    EXPECT_EQ(caught, "the handler failed");
    EXPECT_EQ(events, Strings{"change"});
    EXPECT_EQ(Messages(), Strings{});
    EXPECT_EQ(edit->SettingValue(), 0);
    EXPECT_FALSE(edit->EditedSinceEnter());

    // Nothing is left held: the next assignment raises its events as usual.
    edit->Properties().OnChange = [&](TObject&) { events.push_back("change"); };
    events.clear();
    edit->SetEditValue(Variant::FromString("later"));
    EXPECT_EQ(events, (Strings{"change", "value"}));
  }

  first->Properties().OnChange = [](TObject&) { throw Error("the handler failed"); };
  ShowForm();
  Type("t");
  EXPECT_EQ(Messages(), Strings{"the handler failed."}) << "typed: the error report";
  EXPECT_EQ(first->Text(), "t");
}

// The text is the native control's: an editor without one has none to read, and the
// value it holds shows as soon as the control exists.
TEST_F(EditValueStore, TextReadsEmptyWhileThereIsNoNativeControl) {
  first->SetEditValue(Variant::FromString("kept"));
  EXPECT_EQ(first->Text(), "");
  EXPECT_EQ(Describe(first->EditValue()), "String:kept");
  ShowForm();
  EXPECT_EQ(first->Text(), "kept");
  static_cast<TWinControl&>(*first).DestroyHandle();
  EXPECT_EQ(first->Text(), "");
  first->HandleNeeded();
  EXPECT_EQ(first->Text(), "kept");
}

}  // namespace
}  // namespace vormix
