#include "forms/ComCtrls.h"

#include <gtest/gtest.h>

#include <vector>

#include "forms/MemoryDesktop.h"

namespace vormix {
namespace {

class ProgressBarTest : public testing::Test {
 protected:
  void SetUp() override { form.Show(); }

  MemoryProgressBar& Native() const { return dynamic_cast<MemoryProgressBar&>(*bar->Window()); }

  TMemoryDesktop desk;
  TCustomForm form{desk.app, "Form"};
  std::unique_ptr<TProgressBar> bar = Place<TProgressBar>(form, "bar", 13, 270, 578, 20);
};

using ProgressBarValues = ProgressBarTest;
using ProgressBarRepaint = ProgressBarTest;

TEST_F(ProgressBarValues, PositionIsClampedIntoTheRange) {
  struct Case {
    double set, expected;
  };
  const Case cases[] = {{50, 50}, {150, 100}, {-5, 0}, {100, 100}, {0.5, 0.5}, {1e300, 100}};
  for (const Case& c : cases) {
    bar->SetPosition(c.set);
    EXPECT_EQ(bar->Position(), c.expected) << c.set;
  }
}

TEST_F(ProgressBarValues, MaxNotAboveMinIsIgnored) {
  bar->SetPosition(80);
  for (double max : {0.0, -10.0}) {
    bar->SetMax(max);
    EXPECT_EQ(bar->Max(), 100) << max;
  }
  bar->SetMax(50);
  EXPECT_EQ(bar->Max(), 50);
  EXPECT_EQ(bar->Position(), 50) << "a lower maximum pulls the position down with it";
  bar->SetMax(2147483649.0);
  EXPECT_EQ(bar->Max(), 2147483649.0);
  EXPECT_EQ(bar->Position(), 50);
}

TEST_F(ProgressBarValues, ClearValueEmptiesTheBarAndKeepsTheMaximum) {
  bar->SetMax(1000);
  bar->SetPosition(700);
  bar->ClearValue();
  EXPECT_EQ(bar->Position(), 0);
  EXPECT_EQ(bar->Max(), 1000);
  EXPECT_EQ(bar->FilledLength(), 0);
  EXPECT_EQ(Native().Position(), 0);
}

// Over a run of a million positions the 578-pixel bar is painted once for each pixel it
// grows by, and every paint shows one more pixel than the one before.
TEST_F(ProgressBarRepaint, PaintsOnlyWhenTheFilledLengthChanges) {
  MemoryWindow& window = Native();
  bar->SetMax(1000000);
  bar->Repaint();
  int paints = window.PaintCount();
  std::vector<int> paintedLengths;
  for (int k = 1; k <= 1000000; ++k) {
    bar->SetPosition(k);
    bar->Repaint();
    if (window.PaintCount() != paints) {
      paints = window.PaintCount();
      paintedLengths.push_back(Native().Position());
    }
  }
  EXPECT_EQ(Native().Max(), 578) << "the native bar counts in pixels";
  ASSERT_EQ(paintedLengths.size(), 578u);
  for (std::size_t i = 0; i < paintedLengths.size(); ++i) EXPECT_EQ(paintedLengths[i], static_cast<int>(i) + 1);
  EXPECT_FALSE(window.IsInvalid());
}

TEST_F(ProgressBarRepaint, PaintsAtOnceWhenThePictureChanges) {
  MemoryWindow& window = Native();
  bar->SetMax(3);
  for (int k = 1; k <= 3; ++k) {
    const int before = window.PaintCount();
    bar->SetPosition(k);
    bar->Repaint();
    EXPECT_EQ(window.PaintCount(), before + 1) << k;
    EXPECT_FALSE(window.IsInvalid());
  }
  const int before = window.PaintCount();
  bar->Repaint();
  EXPECT_EQ(window.PaintCount(), before) << "an unchanged picture is not painted again";
}

}  // namespace
}  // namespace vormix
