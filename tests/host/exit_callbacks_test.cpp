#include "host/exit_callbacks.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/os/module_exit_list.h"

namespace {

std::string g_calls;
void A() {
  g_calls += "A";
}
void B() {
  g_calls += "B";
}
void C() {
  g_calls += "C";
}
void RegistersAnother() {
  g_calls += "R";
  RegisterExitCallback(&C);
}

class ExitCallbacks : public ::testing::Test {
 protected:
  void SetUp() override {
    RunExitCallbacks();
    g_calls.clear();
  }
};

TEST_F(ExitCallbacks, RunNewestFirstEachOnceAndDuplicatesAreIgnored) {
  RegisterExitCallback(&A);
  RegisterExitCallback(&B);
  RegisterExitCallback(&A);
  RunExitCallbacks();
  EXPECT_EQ(g_calls, "BA");
  RunExitCallbacks();
  EXPECT_EQ(g_calls, "BA");
}

TEST_F(ExitCallbacks, TheModulesExitProcessingRunsThem) {
  RegisterExitCallback(&A);
  EXPECT_FALSE(os::ThisModuleExitList().Empty());
  os::ThisModuleExitList().RunAll();
  EXPECT_EQ(g_calls, "A");
}

TEST_F(ExitCallbacks, ACallbackRegisteredWhileRunningAlsoRuns) {
  RegisterExitCallback(&RegistersAnother);
  RunExitCallbacks();
  EXPECT_EQ(g_calls, "RC");
}

}  // namespace
