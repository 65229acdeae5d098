// The manual clock and timers of the memory window system: auto-repeat of the spin and
// scroll buttons (400, 100 and 60 ms) is tested on it to the millisecond, so ticks must
// come exactly when Windows' timers would.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/memory/MemoryServices.h"
#include "platform/memory/MemoryWindowSystem.h"

namespace vormix {
namespace {

class MemoryClock : public testing::Test {
 protected:
  // A timer that writes "name@time" at every tick and then runs the test's reaction.
  std::unique_ptr<ITimer> Timer(const std::string& name, int interval, std::function<void()> react = {}) {
    auto timer = windows.CreateTimer([this, name, react] {
      ticks.push_back(name + "@" + std::to_string(windows.Now()));
      if (react) react();
    });
    timer->SetInterval(interval);
    return timer;
  }

  MemoryBeep beep;
  MemoryClipboard clipboard;
  MemoryWindowSystem windows{beep, clipboard};
  std::vector<std::string> ticks;
};

using Ticks = std::vector<std::string>;

TEST_F(MemoryClock, ANewTimerWaitsUntilEnabledThenTicksEveryIntervalInTimeOrder) {
  auto a = Timer("a", 300);
  auto b = Timer("b", 200);
  EXPECT_FALSE(a->Enabled());
  windows.AdvanceTime(1000);
  EXPECT_EQ(ticks, Ticks{});
  EXPECT_EQ(windows.Now(), 1000);

  a->SetEnabled(true);
  b->SetEnabled(true);
  windows.AdvanceTime(599);
  windows.AdvanceTime(401);
  EXPECT_EQ(ticks, (Ticks{"b@1200", "a@1300", "b@1400", "a@1600", "b@1600", "b@1800", "a@1900", "b@2000"}));
  EXPECT_EQ(a->Interval(), 300);
}

TEST_F(MemoryClock, ChangingTheIntervalRestartsTheCountAndAPausedTimerStartsAfresh) {
  auto t = Timer("t", 100);
  t->SetEnabled(true);
  windows.AdvanceTime(50);
  t->SetInterval(200);  // restarts: next tick 200 ms from now
  windows.AdvanceTime(50);
  t->SetInterval(200);  // the same interval: the count goes on
  t->SetEnabled(true);
  windows.AdvanceTime(150);
  EXPECT_EQ(ticks, Ticks{"t@250"});
  windows.AdvanceTime(100);
  t->SetEnabled(false);
  windows.AdvanceTime(1000);
  t->SetEnabled(true);
  windows.AdvanceTime(200);
  EXPECT_EQ(ticks, (Ticks{"t@250", "t@1550"}));
}

// What a tick does to its own and other timers, as the auto-repeat of a held button does.
TEST_F(MemoryClock, ATickMayRetimeStopStartOrDestroyTimers) {
  std::unique_ptr<ITimer> repeat, other, doomed;
  repeat = Timer("repeat", 400, [&] {
    repeat->SetInterval(100);  // the first repeat after 400 ms, then every 100 ms
    if (windows.Now() == 700) repeat->SetEnabled(false);
  });
  other = Timer("other", 250);
  doomed = Timer("doomed", 50, [&] { doomed.reset(); });
  auto starter = Timer("starter", 450, [&] { other->SetEnabled(true); });
  repeat->SetEnabled(true);
  doomed->SetEnabled(true);
  starter->SetEnabled(true);
  windows.AdvanceTime(1000);
  EXPECT_EQ(ticks, (Ticks{"doomed@50", "repeat@400", "starter@450", "repeat@500", "repeat@600", "repeat@700",
                          "other@700", "starter@900", "other@950"}))
      << "other counts from the starter's first tick; equal times go in creation order";
}

// A tick that takes long (the clock moves inside it) is followed by one late tick, not a
// burst of the ticks missed meanwhile; ticks never nest.
TEST_F(MemoryClock, TimePassingInsideATickGivesOneLateTickAndNoNesting) {
  int depth = 0, deepest = 0;
  auto slow = Timer("slow", 100, [&] {
    deepest = std::max(deepest, ++depth);
    if (windows.Now() == 100) windows.AdvanceTime(1000);
    --depth;
  });
  slow->SetEnabled(true);
  windows.AdvanceTime(1300);
  EXPECT_EQ(ticks, (Ticks{"slow@100", "slow@1100", "slow@1200", "slow@1300"}));
  EXPECT_EQ(deepest, 1);
  EXPECT_EQ(windows.Now(), 1300);

  // An error ends the advance at the tick that raised it; the timer goes on afterwards.
  auto failing = Timer("failing", 50, [] { throw std::runtime_error("tick"); });
  slow->SetEnabled(false);
  failing->SetEnabled(true);
  EXPECT_THROW(windows.AdvanceTime(500), std::runtime_error);
  EXPECT_EQ(windows.Now(), 1350);
  failing->SetEnabled(false);
  slow->SetEnabled(true);
  windows.AdvanceTime(100);
  EXPECT_EQ(ticks.back(), "slow@1450");
}

}  // namespace
}  // namespace vormix
