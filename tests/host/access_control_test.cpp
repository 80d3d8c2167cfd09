#include "host/access_control.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "host/bas_string.h"
#include "host/function_names.h"
#include "tests/fakes/fake_env.h"
#include "tests/fakes/fake_rvx.h"
#include "tests/host/host_test_support.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

class AccessControl : public testing_support::HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    env_.Env().SetVariable("_#INT#_PROJECT", u"P1");
    env_.Env().SetVariable("_#INT#_RVXPROJECT", u"1");
    rvx_.AccessControl().Grant("mor.revisionmgmnt");
  }
  fakes::FakeEnvService env_;
  fakes::FakeRvxWorld rvx_;
};

TEST_F(AccessControl, AsksTheServerOnceAndCachesTheAnswer) {
  EXPECT_TRUE(CheckFunctionAccess(54));
  EXPECT_THAT(rvx_.Log().Entries(),
              ElementsAre("Server.Create", "Server.Run", "Server.FindDatabase(VT_BSTR:\"P1\")",
                          "Database.GetCurrentProject", "Project.GetAccessControl",
                          "AccessControl.IsFunctionAllowed(mor.revisionmgmnt)"));
  rvx_.Log().Clear();
  rvx_.AccessControl().Revoke("mor.revisionmgmnt");
  EXPECT_TRUE(CheckFunctionAccess(54));
  EXPECT_THAT(rvx_.Log().Entries(), IsEmpty());
  EXPECT_EQ(CachedAccessAnswers().at(54), true);
}

TEST_F(AccessControl, OpensTheDatabaseWhenItIsNotOpenYet) {
  rvx_.SetDatabaseOpen(false);
  EXPECT_TRUE(CheckFunctionAccess(54));
  EXPECT_THAT(
      rvx_.Log().Entries(),
      ElementsAre("Server.Create", "Server.Run", "Server.FindDatabase(VT_BSTR:\"P1\")",
                  "Server.OpenDatabase(P1)", "Database.SetConnectText()", "Database.Connect",
                  "Database.OpenProject(P1)", "Project.GetAccessControl",
                  "AccessControl.IsFunctionAllowed(mor.revisionmgmnt)"));
}

TEST_F(AccessControl, RefusalIsCached) {
  rvx_.AccessControl().Revoke("mor.revisionmgmnt");
  EXPECT_FALSE(CheckFunctionAccess(54));
  rvx_.AccessControl().Grant("mor.revisionmgmnt");
  EXPECT_FALSE(CheckFunctionAccess(54));
  EXPECT_EQ(rvx_.Log().CountOf("AccessControl.IsFunctionAllowed"), 1);
}

// Every step before IsFunctionAllowed that fails: refused, nothing cached, no message.
class AccessControlUnreachable : public AccessControl,
                                 public ::testing::WithParamInterface<const char*> {};

TEST_P(AccessControlUnreachable, RefusesWithoutCachingAndAsksAgainLater) {
  rvx_.Log().Fail(GetParam(), E_FAIL);
  EXPECT_FALSE(CheckFunctionAccess(54));
  EXPECT_THAT(CachedAccessAnswers(), IsEmpty());
  rvx_.Log().ClearFailures();
  EXPECT_TRUE(CheckFunctionAccess(54));
  EXPECT_EQ(CachedAccessAnswers().at(54), true);
}

INSTANTIATE_TEST_SUITE_P(Steps, AccessControlUnreachable,
                         ::testing::Values("Server.Run", "Server.FindDatabase",
                                           "Database.GetCurrentProject",
                                           "Project.GetAccessControl"));

class AccessControlUnreachableWhenClosed : public AccessControl,
                                           public ::testing::WithParamInterface<const char*> {};

TEST_P(AccessControlUnreachableWhenClosed, RefusesWithoutCaching) {
  rvx_.SetDatabaseOpen(false);
  rvx_.Log().Fail(GetParam(), E_FAIL);
  EXPECT_FALSE(CheckFunctionAccess(54));
  EXPECT_THAT(CachedAccessAnswers(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Steps, AccessControlUnreachableWhenClosed,
                         ::testing::Values("Server.OpenDatabase", "Database.Connect",
                                           "Database.OpenProject"));

TEST_F(AccessControl, SetConnectTextFailureIsIgnored) {
  rvx_.SetDatabaseOpen(false);
  rvx_.Log().Fail("Database.SetConnectText", E_FAIL);
  EXPECT_TRUE(CheckFunctionAccess(54));
}

TEST_F(AccessControl, NoProjectOrNoAccessControlObjectRefusesWithoutCaching) {
  rvx_.Database().SetCurrentProjectResult(S_FALSE);
  EXPECT_FALSE(CheckFunctionAccess(54));
  rvx_.Database().SetCurrentProjectResult(S_OK);
  rvx_.Project().RemoveAccessControl();
  EXPECT_FALSE(CheckFunctionAccess(54));
  EXPECT_THAT(CachedAccessAnswers(), IsEmpty());
}

TEST_F(AccessControl, ServerThatCannotBeCreatedRefusesUntilItCanBe) {
  rvx_.FailServerCreation(E_FAIL);
  EXPECT_FALSE(CheckFunctionAccess(54));
  rvx_.FailServerCreation(S_OK);
  EXPECT_TRUE(CheckFunctionAccess(54));
}

TEST_F(AccessControl, WithoutProjectNameRefusesWithoutAskingTheServer) {
  env_.Env().RemoveVariable("_#INT#_PROJECT");
  EXPECT_FALSE(CheckFunctionAccess(54));
  EXPECT_EQ(rvx_.ServerCreations(), 0);
}

TEST_F(AccessControl, FailingIsFunctionAllowedIsReportedOnceAndGranted) {
  rvx_.AccessControl().Revoke("mor.revisionmgmnt");
  rvx_.Log().Fail("AccessControl.IsFunctionAllowed", E_FAIL);
  Boxes().Expect(os::MessageBoxAnswer::Ok);
  EXPECT_TRUE(CheckFunctionAccess(54));
  EXPECT_TRUE(CheckFunctionAccess(54));
  ASSERT_EQ(Boxes().Shown().size(), 1u);
  EXPECT_EQ(Boxes().Shown()[0].caption, "Functional access control failed");
  EXPECT_THAT(Boxes().Shown()[0].text,
              HasSubstr("Source: Fake\nDescription: AccessControl.IsFunctionAllowed failed\n\n"
                        "Exception caught on line 309 in file 'BasAccessCtrl'\n"));
}

struct CodeCase {
  std::int32_t code;
  bool rvxProject;
  bool expected;
};

class AccessControlCodes : public AccessControl, public ::testing::WithParamInterface<CodeCase> {};

TEST_P(AccessControlCodes, CodesWithoutANameAreRefusedOnlyInAnRvxProject) {
  if (!GetParam().rvxProject) env_.Env().RemoveVariable("_#INT#_RVXPROJECT");
  EXPECT_EQ(CheckFunctionAccess(GetParam().code), GetParam().expected);
  EXPECT_EQ(CachedAccessAnswers().at(GetParam().code), GetParam().expected);
  EXPECT_EQ(rvx_.Log().CountOf("AccessControl.IsFunctionAllowed"), 0);
}

INSTANTIATE_TEST_SUITE_P(Codes, AccessControlCodes,
                         ::testing::Values(CodeCase{0, true, false}, CodeCase{85, true, false},
                                           CodeCase{-1, true, false}, CodeCase{0, false, true},
                                           CodeCase{85, false, true}, CodeCase{54, false, true}));

TEST_F(AccessControl, NotAnRvxProjectAsksNoServer) {
  env_.Env().RemoveVariable("_#INT#_RVXPROJECT");
  EXPECT_TRUE(CheckFunctionAccess(54));
  EXPECT_EQ(rvx_.ServerCreations(), 0);
}

struct NameCase {
  std::int32_t code;
  const char* name;
};

class FunctionNameTableRows : public ::testing::TestWithParam<NameCase> {};

TEST_P(FunctionNameTableRows, HoldsTheName) {
  BuildFunctionNameTable();
  ASSERT_NE(FunctionNameOf(GetParam().code), nullptr);
  EXPECT_STREQ(FunctionNameOf(GetParam().code), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Samples, FunctionNameTableRows,
    ::testing::Values(NameCase{1, "assy.assemblyplanning"}, NameCase{9, "basic.rvxversionmgmnt"},
                      NameCase{32, "draft.revisionmgmnt"}, NameCase{54, "mor.revisionmgmnt"},
                      NameCase{74, "pipesupp.defaults"}, NameCase{80, "sistership.config"},
                      NameCase{83, "basic.collisionmanagement"}, NameCase{84, "outf.dr_fix"}));

TEST(FunctionNameTable, HasCodes1To84WithoutGaps) {
  BuildFunctionNameTable();
  BuildFunctionNameTable();
  ASSERT_EQ(FunctionNames().size(), 84u);
  EXPECT_EQ(FunctionNames().begin()->first, 1);
  EXPECT_EQ(FunctionNames().rbegin()->first, 84);
  EXPECT_EQ(FunctionNameOf(0), nullptr);
  EXPECT_EQ(FunctionNameOf(85), nullptr);
}

TEST(BasStringTest, InlineUpTo63CharactersThenHeap) {
  BasString text;
  EXPECT_STREQ(text.Get(), "");
  EXPECT_EQ(text.Capacity(), 0);
  text = std::string(63, 'a').c_str();
  EXPECT_FALSE(text.OnHeap());
  EXPECT_EQ(text.Length(), 63);
  text = std::string(64, 'b').c_str();
  EXPECT_TRUE(text.OnHeap());
  EXPECT_EQ(text.Capacity(), 65);
  EXPECT_EQ(text.View(), std::string(64, 'b'));
  text = "short";  // a large enough heap buffer is reused
  EXPECT_TRUE(text.OnHeap());
  EXPECT_EQ(text.Capacity(), 65);
  EXPECT_STREQ(text.Get(), "short");
  text = nullptr;
  EXPECT_STREQ(text.Get(), "");
  EXPECT_EQ(text.Length(), 0);
}

TEST(BasStringTest, CopiesAreIndependentAndSelfAssignmentIsSafe) {
  BasString a(std::string(100, 'x').c_str());
  BasString b(a);
  a = "changed";
  EXPECT_EQ(b.View(), std::string(100, 'x'));
  b = b;
  EXPECT_EQ(b.Length(), 100);
  BasString c("abc");
  c = c.Get() + 1;  // a text inside its own buffer
  EXPECT_STREQ(c.Get(), "bc");
}

}  // namespace
