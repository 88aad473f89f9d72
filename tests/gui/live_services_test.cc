// The folder watcher and the timer reach the window between handlers only,
// and a filtered guard shows only the failures it is told to.
#include "gui/live_services.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/headless_backend.h"
#include "text/failure.h"

namespace tabulon::gui {
namespace {

class LiveServicesTest : public ::testing::Test {
 protected:
  LiveServicesTest()
      : form_({.kind = ControlKind::kForm, .name = "F"}, backend_, nullptr) {
    EXPECT_TRUE(backend_.WatchFolder(
        [this](std::string_view name) { seen_.emplace_back(name); }));
  }
  void InHandler(const std::function<void()>& handler) {
    RunHandler(backend_, form_, handler);
  }

  HeadlessBackend backend_;
  Form form_;
  std::vector<std::string> seen_;
  int timer_runs_ = 0;
};

TEST_F(LiveServicesTest, ChangesOutsideHandlersArriveAtOnceWithTheirNames) {
  backend_.SeeFolderChange("a.ans");
  backend_.SeeFolderChange("");
  EXPECT_EQ(seen_, (std::vector<std::string>{"a.ans", ""}));
}

TEST_F(LiveServicesTest, ChangesDuringAHandlerArriveOnceAfterIt) {
  const struct {
    std::vector<std::string> during;
    std::vector<std::string> after;
  } kCases[] = {
      {{}, {}},
      {{"a.ans", "a.ans", "a.ans"}, {"a.ans"}},
      {{"a.ans", "b.ans"}, {""}},
      {{"a.ans", "b.ans", "a.ans"}, {""}},
  };
  for (const auto& test : kCases) {
    seen_.clear();
    InHandler([&] {
      for (const std::string& name : test.during)
        backend_.SeeFolderChange(name);
      EXPECT_TRUE(seen_.empty());
    });
    EXPECT_EQ(seen_, test.after);
  }
}

TEST_F(LiveServicesTest, TheTimerIsSingleShotAndWaitsForTheHandler) {
  backend_.StartTimer(1000, [this] { ++timer_runs_; });
  backend_.StartTimer(1000, [this] { timer_runs_ += 10; });
  InHandler([&] {
    backend_.ElapseTimer();
    EXPECT_EQ(timer_runs_, 0);
  });
  EXPECT_EQ(timer_runs_, 10) << "the later start replaced the earlier";
  backend_.ElapseTimer();
  EXPECT_EQ(timer_runs_, 10);
  EXPECT_FALSE(backend_.TimerRunning());
}

TEST_F(LiveServicesTest, AChangeAfterTheTimerWithinAHandlerComesFirst) {
  std::vector<std::string> order;
  ASSERT_TRUE(backend_.WatchFolder([&](std::string_view) {
    order.push_back("change");
    backend_.StartTimer(1000, [&] { order.push_back("timer"); });
  }));
  backend_.StartTimer(1000, [&] { order.push_back("timer"); });
  InHandler([&] {
    backend_.ElapseTimer();
    backend_.SeeFolderChange("a.ans");
  });
  EXPECT_EQ(order, std::vector<std::string>{"change"})
      << "the change started the quiet time again";
  backend_.StopTimer();
  backend_.StopWatchingFolder();
  backend_.ElapseTimer();
  backend_.SeeFolderChange("a.ans");
  EXPECT_EQ(order.size(), 1u) << "stopped: nothing more";
}

TEST_F(LiveServicesTest, AFilteredGuardShowsOnlyWhatItIsTold) {
  const auto fail = [] { throw text::InputOutputFailure(32); };
  EXPECT_FALSE(RunHandler(backend_, form_, fail,
                          [](const text::Failure&) { return false; }));
  EXPECT_TRUE(backend_.Stops().empty());
  EXPECT_FALSE(RunHandler(backend_, form_, fail,
                          [](const text::Failure&) { return true; }));
  EXPECT_EQ(backend_.Stops().size(), 1u);
  EXPECT_TRUE(RunHandler(
      backend_, form_, [] {}, [](const text::Failure&) { return true; }));
}

}  // namespace
}  // namespace tabulon::gui
