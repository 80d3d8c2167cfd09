#include "platform/os/module_exit_list.h"

#include <gtest/gtest.h>

#include <string>

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

os::ModuleExitList* g_list = nullptr;
void RegistersD() {
  g_calls += "R";
  g_list->Add([] { g_calls += "D"; });
}

class ModuleExitListTest : public testing::Test {
 protected:
  void SetUp() override { g_calls.clear(); }
};

TEST_F(ModuleExitListTest, RunsInReverseOrderOfRegistrationOnce) {
  os::ModuleExitList list;
  EXPECT_TRUE(list.Empty());
  list.Add(&A);
  list.Add(&B);
  list.Add(&C);
  EXPECT_FALSE(list.Empty());
  list.RunAll();
  EXPECT_EQ(g_calls, "CBA");
  EXPECT_TRUE(list.Empty());
  list.RunAll();
  EXPECT_EQ(g_calls, "CBA");
}

TEST_F(ModuleExitListTest, RunsWhenTheModuleGoesAway) {
  {
    os::ModuleExitList list;
    list.Add(&A);
    list.Add(&B);
  }
  EXPECT_EQ(g_calls, "BA");
}

TEST_F(ModuleExitListTest, AFunctionAddedWhileRunningRunsToo) {
  os::ModuleExitList list;
  g_list = &list;
  list.Add(&A);
  list.Add(&RegistersD);
  list.RunAll();
  EXPECT_EQ(g_calls, "RDA");
  EXPECT_TRUE(list.Empty());
}

TEST_F(ModuleExitListTest, ThisModuleHasOneListOfItsOwn) {
  EXPECT_EQ(&os::ThisModuleExitList(), &os::ThisModuleExitList());
}

TEST(ModuleExitListDeathTest, ThisModulesListRunsWhenTheProcessEnds) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        os::ThisModuleExitList().Add([] { std::fputs("first registered\n", stderr); });
        os::ThisModuleExitList().Add([] { std::fputs("second registered\n", stderr); });
        std::exit(3);
      },
      testing::ExitedWithCode(3), "second registered\nfirst registered\n");
}

}  // namespace
