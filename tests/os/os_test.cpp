#include "platform/os/os.h"

#include "platform/os/module_exit_list.h"

#include <gtest/gtest.h>

#include <ctime>
#include <thread>
#include <vector>

namespace {

TEST(OsTest, NoSystemMessageTextOnThisPlatform) {
  for (std::uint32_t code : {0x80004005u, 0x80070005u, 0x8007000Eu, 0x80040201u, 0u, 1u}) {
    EXPECT_FALSE(os::SystemMessageText(static_cast<std::int32_t>(code), 0x0400)) << code;
  }
}

TEST(OsTest, NoForegroundWindow) {
  EXPECT_EQ(os::ForegroundWindow(), nullptr);
}

TEST(OsTest, ThreadIdsDifferBetweenLivingThreadsAndStayPerThread) {
  const std::uint32_t mine = os::CurrentThreadId();
  EXPECT_NE(mine, 0u);
  EXPECT_EQ(os::CurrentThreadId(), mine);
  std::uint32_t other = 0;
  std::thread thread([&] { other = os::CurrentThreadId(); });
  thread.join();
  EXPECT_NE(other, 0u);
  EXPECT_NE(other, mine);
}

TEST(OsTest, LocalTimeHasFieldsInRangeAndMatchesTheClock) {
  const std::time_t before = std::time(nullptr);
  const os::LocalTime now = os::CurrentLocalTime();
  const std::time_t after = std::time(nullptr);
  EXPECT_GE(now.month, 1);
  EXPECT_LE(now.month, 12);
  EXPECT_GE(now.day, 1);
  EXPECT_LE(now.day, 31);
  EXPECT_LE(now.hour, 23);
  EXPECT_LE(now.minute, 59);
  EXPECT_LE(now.second, 60);
  EXPECT_GE(now.millisecond, 0);
  EXPECT_LE(now.millisecond, 999);
  std::tm first{};
  std::tm last{};
  localtime_r(&before, &first);
  localtime_r(&after, &last);
  EXPECT_GE(now.year, first.tm_year + 1900);
  EXPECT_LE(now.year, last.tm_year + 1900);
  if (before == after) {
    EXPECT_EQ(now.day, first.tm_mday);
    EXPECT_EQ(now.hour, first.tm_hour);
    EXPECT_EQ(now.minute, first.tm_min);
    EXPECT_EQ(now.second, first.tm_sec);
  }
}

TEST(OsTest, EndProcessCallsTheHookAndReturns) {
  std::vector<int> statuses;
  auto previous = os::SetEndProcessHookForTesting([&](int status) { statuses.push_back(status); });
  os::EndProcess(7);
  os::EndProcess(0);
  EXPECT_EQ(statuses, (std::vector<int>{7, 0}));
  auto mine = os::SetEndProcessHookForTesting(previous);
  EXPECT_TRUE(mine);
}

TEST(OsDeathTest, EndProcessWithoutAHookEndsWithTheStatus) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        os::SetEndProcessHookForTesting({});
        os::EndProcess(42);
        std::fputs("still running\n", stderr);
        std::exit(1);
      },
      testing::ExitedWithCode(42), "");
}

TEST(OsDeathTest, EndProcessRunsTheModuleExitList) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        os::SetEndProcessHookForTesting({});
        os::ThisModuleExitList().Add([] { std::fputs("exit list ran\n", stderr); });
        os::EndProcess(5);
      },
      testing::ExitedWithCode(5), "exit list ran");
}

}  // namespace
