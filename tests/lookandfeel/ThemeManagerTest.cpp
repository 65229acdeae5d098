// The theme manager and the two broadcasts: cached theme handles, whether themes are
// ready, what a theme change and a colour change do and in which order, and start-up
// and shutdown as the theme library sees them.
#include <gmock/gmock.h>

#include <string>
#include <vector>

#include "LookAndFeelFixture.h"

namespace vormix {
namespace {

using testing::ElementsAre;

std::vector<std::string> Operations(const MemoryThemeLibrary& themes) {
  std::vector<std::string> ops;
  for (const TThemeCall& call : themes.Calls()) ops.push_back(call.Operation + (call.ClassName.empty() ? "" : " " + call.ClassName));
  return ops;
}

class ThemeManagerTest : public LookAndFeelFixture {};

TEST_F(ThemeManagerTest, HandlesAreOpenedOnceAndAFailedClassIsTriedAtEveryRequest) {
  themes.ClearCalls();
  const TThemeHandle button = ThemeHandle(tcButton);
  EXPECT_NE(button, 0u);
  EXPECT_EQ(ThemeHandle(tcButton), button);
  themes.SetClassOpens("Spin", false);
  EXPECT_EQ(ThemeHandle(tcSpin), 0u);
  EXPECT_EQ(ThemeHandle(tcSpin), 0u);
  EXPECT_FALSE(ThemeClassReady(tcSpin));
  EXPECT_TRUE(ThemeClassReady(tcButton));
  EXPECT_FALSE(ThemesReady({tcButton, tcSpin}));
  EXPECT_THAT(Operations(themes), ElementsAre("OpenThemeData Button", "OpenThemeData Spin", "OpenThemeData Spin",
                                              "OpenThemeData Spin", "OpenThemeData Spin"));
  themes.SetClassOpens("Spin", true);
  EXPECT_TRUE(ThemesReady({tcButton, tcSpin}));
  EXPECT_EQ(TdxThemeManager::Current()->Record(tcSpin).ClassName, "Spin");
  ReleaseAllThemeHandles();
  EXPECT_EQ(themes.OpenHandleCount(), 0);
  EXPECT_NE(ThemeHandle(tcButton), button);  // opened anew on demand
}

TEST_F(ThemeManagerTest, NothingIsReadyWithoutAnActiveThemeOrWithoutTheLibrary) {
  themes.Active = false;
  Start();
  EXPECT_FALSE(ThemesReady());
  EXPECT_EQ(ThemeHandle(tcButton), 0u);
  themes.Active = true;
  themes.Loaded = false;
  Start();
  EXPECT_FALSE(ThemesReady());
  EXPECT_EQ(ThemeHandle(tcEdit), 0u);
  TdxThemeChangedNotificator notificator;  // nothing to subscribe to
  int calls = 0;
  notificator.OnThemeChanged = [&] { ++calls; };
  TdxThemeManager::Current()->ThemeChanged();
  EXPECT_EQ(calls, 0);
  // A library that lacks an operation makes that call fail instead of being made.
  themes.Loaded = true;
  themes.SetOperationMissing("OpenThemeData");
  Start();
  EXPECT_TRUE(ThemesReady());
  EXPECT_EQ(ThemeHandle(tcButton), 0u);
}

TEST_F(ThemeManagerTest, AThemeChangeReleasesHandlesRereadsTheFlagAndTellsSubscribersInOrder) {
  std::vector<std::string> heard;
  TdxThemeChangedNotificator first, second, silent;
  first.OnThemeChanged = [&] { heard.push_back("first " + std::to_string(ThemesReady())); };
  second.OnThemeChanged = [&] { heard.push_back("second " + std::to_string(ThemeHandle(tcButton) != 0)); };
  ThemeHandle(tcButton);
  ThemeHandle(tcEdit);
  themes.ClearCalls();
  SwitchTheme(false);
  EXPECT_THAT(heard, ElementsAre("first 0", "second 0"));
  EXPECT_THAT(Operations(themes), ElementsAre("CloseThemeData Button", "CloseThemeData Edit", "IsThemeActive"));
  heard.clear();
  SwitchTheme(true);
  EXPECT_THAT(heard, ElementsAre("first 1", "second 1"));
}

TEST_F(ThemeManagerTest, ColourChangesReachRunsFirstSubscribersFirstEachFromTheLast) {
  std::vector<std::string> heard;
  auto subscribe = [&](const char* name, bool runsFirst) {
    auto n = std::make_unique<TcxSystemPaletteChangedNotifier>(runsFirst);
    n->OnSystemPaletteChanged = [&heard, name] { heard.push_back(name); };
    return n;
  };
  auto a = subscribe("ordinary a", false);
  auto b = subscribe("first b", true);
  auto c = subscribe("ordinary c", false);
  auto d = subscribe("first d", true);
  TcxSystemPaletteChangedNotifier unassigned;
  SystemColorsChange();
  EXPECT_THAT(heard, ElementsAre("first d", "first b", "ordinary c", "ordinary a"));
  // A subscriber that goes away while the change is passed on is not called after that.
  heard.clear();
  c->OnSystemPaletteChanged = [&] {
    heard.push_back("ordinary c");
    a.reset();
  };
  SystemColorsChange();
  EXPECT_THAT(heard, ElementsAre("first d", "first b", "ordinary c"));
}

TEST_F(ThemeManagerTest, StartUpAsksOnceWhetherAThemeIsActiveAndShutdownClosesEveryHandle) {
  runtime.reset();
  themes.ClearCalls();
  Start();
  EXPECT_THAT(Operations(themes), ElementsAre("IsThemeActive"));
  ThemeHandle(tcButton);
  ThemeHandle(tcProgress);
  runtime.reset();
  EXPECT_EQ(themes.OpenHandleCount(), 0);
  EXPECT_EQ(TdxThemeManager::Current(), nullptr);
  EXPECT_EQ(GlobalLookAndFeel(), nullptr);
  EXPECT_FALSE(ThemesReady());
}

TEST_F(ThemeManagerTest, AnErrorWhilePassingAChangeOnGoesToTheReportAndTheRestStays) {
  std::vector<std::string> reported;
  SetBroadcastExceptionHandler([&](std::exception_ptr error) {
    try {
      std::rethrow_exception(error);
    } catch (const std::exception& e) {
      reported.push_back(e.what());
    }
  });
  TdxThemeChangedNotificator failing;
  failing.OnThemeChanged = [] { throw std::runtime_error("broken handler"); };
  TcxSystemPaletteChangedNotifier failingColours;
  failingColours.OnSystemPaletteChanged = [] { throw std::runtime_error("broken colours"); };
  ThemeHandle(tcButton);
  // The error is reported; the handles already closed stay closed and reopen on demand.
  SwitchTheme(true);
  SystemColorsChange();
  EXPECT_THAT(reported, ElementsAre("broken handler", "broken colours"));
  EXPECT_EQ(themes.OpenHandleCount(), 0);
  EXPECT_NE(ThemeHandle(tcButton), 0u);
  SetBroadcastExceptionHandler(nullptr);
}

}  // namespace
}  // namespace vormix
