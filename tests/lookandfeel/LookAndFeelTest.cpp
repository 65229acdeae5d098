// The look-and-feel: values in force through the chain of sources, what is notified,
// and which painter a look-and-feel picks.
#include <gmock/gmock.h>

#include <vector>

#include "LookAndFeelFixture.h"

namespace vormix {
namespace {

using K = TcxLookAndFeelKind;

// Every notification a look-and-feel raised, in order.
struct TRecorder {
  explicit TRecorder(TcxLookAndFeel& lf) {
    lf.OnLookAndFeelChanged = [this](TcxLookAndFeel&, TcxLookAndFeelValues v) { changes.push_back(v); };
  }
  std::vector<TcxLookAndFeelValues> changes;
};

class LookAndFeelTest : public LookAndFeelFixture {};

TEST_F(LookAndFeelTest, NothingAssignedFollowsTheGlobalDefaultsAndDrawsUltraFlat) {
  TcxLookAndFeel lf;
  EXPECT_EQ(lf.Kind(), K::lfUltraFlat);
  EXPECT_FALSE(lf.NativeStyle());
  EXPECT_EQ(lf.AssignedValues(), 0u);
  EXPECT_EQ(lf.PainterFor().StyleCode(), 2);
  EXPECT_EQ(GlobalLookAndFeel()->FollowerCount(), 1);
}

TEST_F(LookAndFeelTest, StandardWithNativeStylePaintsNativeOnlyWhileAThemeIsInForce) {
  TcxLookAndFeel lf;
  lf.SetKind(K::lfStandard);
  lf.SetNativeStyle(true);
  EXPECT_TRUE(lf.PainterFor().IsNative());
  SwitchTheme(false);
  EXPECT_EQ(&lf.PainterFor(), &StandardPainter());
  SwitchTheme(true);
  EXPECT_TRUE(lf.PainterFor().IsNative());
  // A class that does not open keeps that control classic while others go native.
  themes.SetClassOpens("ScrollBar", false);
  EXPECT_EQ(&lf.PainterFor(tcScrollBar), &StandardPainter());
  EXPECT_TRUE(lf.PainterFor(tcButton).IsNative());
  // Without the library nothing is native.
  themes.Loaded = false;
  Start();
  TcxLookAndFeel other;
  other.SetNativeStyle(true);
  other.SetKind(K::lfStandard);
  EXPECT_EQ(&other.PainterFor(), &StandardPainter());
}

TEST_F(LookAndFeelTest, AssigningTheInheritedValueMakesItLocalWithoutNotifying) {
  TcxLookAndFeel source, lf;
  lf.SetSourceLookAndFeel(&source);
  TRecorder rec(lf);
  lf.SetKind(K::lfUltraFlat);  // what it inherits already
  EXPECT_TRUE(rec.changes.empty());
  EXPECT_EQ(lf.AssignedValues(), lfvsKind);
  source.SetKind(K::lfFlat);  // no longer reaches it
  EXPECT_EQ(lf.Kind(), K::lfUltraFlat);
  EXPECT_TRUE(rec.changes.empty());
  source.SetNativeStyle(true);  // the value it does not assign still does
  EXPECT_TRUE(lf.NativeStyle());
  EXPECT_THAT(rec.changes, testing::ElementsAre(lfvsNativeStyle));
}

TEST_F(LookAndFeelTest, RemovingAnAssignedValueBringsBackTheSourcesOnlyNotifyingADifference) {
  TcxLookAndFeel source, lf;
  lf.SetSourceLookAndFeel(&source);
  source.SetKind(K::lfFlat);
  lf.SetKind(K::lfStandard);
  lf.SetNativeStyle(false);  // equal to what it inherits
  TRecorder rec(lf);
  lf.SetAssignedValues(lfvsKind);  // drops NativeStyle: same value, nothing to tell
  EXPECT_TRUE(rec.changes.empty());
  lf.SetAssignedValues(0);
  EXPECT_EQ(lf.Kind(), K::lfFlat);
  EXPECT_THAT(rec.changes, testing::ElementsAre(lfvsKind));
}

TEST_F(LookAndFeelTest, ChangesTravelDownTheChainToFollowersBeforeTheOwner) {
  TcxLookAndFeel top, middle, bottom;
  middle.SetSourceLookAndFeel(&top);
  bottom.SetSourceLookAndFeel(&middle);
  std::vector<std::string> order;
  middle.OnLookAndFeelChanged = [&](TcxLookAndFeel&, TcxLookAndFeelValues) { order.push_back("middle"); };
  bottom.OnLookAndFeelChanged = [&](TcxLookAndFeel&, TcxLookAndFeelValues) { order.push_back("bottom"); };
  top.SetKind(K::lfOffice11);
  EXPECT_EQ(bottom.Kind(), K::lfOffice11);
  EXPECT_THAT(order, testing::ElementsAre("bottom", "middle"));
  // The global look-and-feel is the end of every chain.
  GlobalLookAndFeel()->SetNativeStyle(true);
  EXPECT_TRUE(bottom.NativeStyle());
}

TEST_F(LookAndFeelTest, AFollowerThatLeavesDuringTheWalkSkipsNobody) {
  TcxLookAndFeel source, first, second, third;
  for (TcxLookAndFeel* lf : {&first, &second, &third}) lf->SetSourceLookAndFeel(&source);
  first.OnLookAndFeelChanged = [&](TcxLookAndFeel&, TcxLookAndFeelValues) { first.SetSourceLookAndFeel(nullptr); };
  TRecorder secondRec(second), thirdRec(third);
  source.SetKind(K::lfFlat);
  EXPECT_EQ(secondRec.changes.size(), 1u);
  EXPECT_EQ(thirdRec.changes.size(), 1u);
  EXPECT_EQ(first.Kind(), K::lfUltraFlat);  // back with the global one
}

TEST_F(LookAndFeelTest, DestroyingASourceSendsItsFollowersBackToTheGlobalOne) {
  TcxLookAndFeel same, differs;
  auto source = std::make_unique<TcxLookAndFeel>();
  source->SetNativeStyle(true);
  same.SetSourceLookAndFeel(source.get());
  differs.SetSourceLookAndFeel(source.get());
  same.SetNativeStyle(true);  // its own value: the source going away changes nothing for it
  TRecorder sameRec(same), differsRec(differs);
  source.reset();
  EXPECT_TRUE(sameRec.changes.empty());
  EXPECT_THAT(differsRec.changes, testing::ElementsAre(lfvsNativeStyle));
  EXPECT_EQ(differs.SourceLookAndFeel(), nullptr);
  GlobalLookAndFeel()->SetKind(K::lfFlat);
  EXPECT_EQ(differs.Kind(), K::lfFlat);
}

TEST_F(LookAndFeelTest, AssignCopiesTheOwnSettingsAndTheSourceInOneNotification) {
  TcxLookAndFeel source, other, lf;
  other.SetSourceLookAndFeel(&source);
  other.SetKind(K::lfStandard);
  source.SetNativeStyle(true);
  TRecorder rec(lf);
  lf.Assign(other);
  EXPECT_EQ(lf.SourceLookAndFeel(), &source);
  EXPECT_EQ(lf.AssignedValues(), lfvsKind);
  EXPECT_EQ(lf.Kind(), K::lfStandard);
  EXPECT_TRUE(lf.NativeStyle());
  EXPECT_THAT(rec.changes, testing::ElementsAre(lfvsKind | lfvsNativeStyle));
}

TEST_F(LookAndFeelTest, ControllersEditTheGlobalOneWhichForgetsWhenTheLastGoes) {
  TcxLookAndFeel lf;
  auto first = std::make_unique<TcxLookAndFeelController>();
  auto second = std::make_unique<TcxLookAndFeelController>();
  EXPECT_EQ(GlobalLookAndFeel()->ControllerCount(), 2);
  first->SetKind(K::lfStandard);
  second->SetNativeStyle(true);
  EXPECT_EQ(lf.Kind(), K::lfStandard);
  EXPECT_TRUE(first->NativeStyle());
  // A controller follows only the global look-and-feel.
  TcxLookAndFeel elsewhere;
  elsewhere.AddFollower(*first);
  EXPECT_EQ(elsewhere.FollowerCount(), 0);
  first.reset();
  EXPECT_EQ(lf.Kind(), K::lfStandard);
  TRecorder rec(lf);
  second.reset();
  EXPECT_EQ(GlobalLookAndFeel()->AssignedValues(), 0u);
  EXPECT_EQ(lf.Kind(), K::lfUltraFlat);
  EXPECT_FALSE(lf.NativeStyle());
  EXPECT_THAT(rec.changes, testing::ElementsAre(lfvsKind | lfvsNativeStyle));
}

TEST_F(LookAndFeelTest, ASystemColourChangeMakesEveryLookAndFeelReportNativeStyle) {
  TcxLookAndFeel plain, native;
  native.SetNativeStyle(true);
  TRecorder plainRec(plain), nativeRec(native);
  SystemColorsChange();
  // Its own subscription tells each one; one that inherits NativeStyle hears it again
  // from its source.
  EXPECT_THAT(plainRec.changes, testing::ElementsAre(lfvsNativeStyle, lfvsNativeStyle));
  EXPECT_THAT(nativeRec.changes, testing::ElementsAre(lfvsNativeStyle));
}

TEST_F(LookAndFeelTest, WithoutAGlobalOneTheDefaultsHold) {
  runtime.reset();
  TcxLookAndFeel lf;
  EXPECT_EQ(lf.Kind(), K::lfUltraFlat);
  lf.SetSourceLookAndFeel(nullptr);
  TcxLookAndFeelController controller;
  controller.SetKind(K::lfFlat);  // nothing to edit
  EXPECT_EQ(controller.Kind(), K::lfUltraFlat);
}

}  // namespace
}  // namespace vormix
