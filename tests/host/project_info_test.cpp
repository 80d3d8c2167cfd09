#include "host/project_info.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "host/pxd_db_base.h"
#include "host/xd186.h"
#include "tests/fakes/fake_env.h"
#include "tests/host/host_test_support.h"

namespace {

using ::testing::Contains;
using ::testing::Not;

class ProjectInfo : public testing_support::HostTest {
 protected:
  fakes::FakeEnvService service_;
};

TEST_F(ProjectInfo, ReadsEveryWantedVariable) {
  service_.Env().SetVariable("_#INT#_PROJECT", u"P1");
  service_.Env().SetVariable("PW_SUBPROJ", u"S");
  service_.Env().SetVariable("_#INT#_FTPHOST", u"ftp");
  service_.Env().SetVariable("_#INT#_RVXPROJECT", u"0");
  char project[256], sub[256], ftp[256], group[256] = "x";
  int rvx = -1;
  EXPECT_TRUE(GetProjectInfo(project, sub, ftp, group, &rvx));
  EXPECT_STREQ(project, "P1");
  EXPECT_STREQ(sub, "S");
  EXPECT_STREQ(ftp, "ftp");
  EXPECT_STREQ(group, "");
  EXPECT_EQ(rvx, 1);  // any non-empty text, a lone zero included
}

TEST_F(ProjectInfo, MissingProjectNameGivesFalse) {
  char project[256] = "x";
  EXPECT_FALSE(GetProjectInfo(project, nullptr, nullptr, nullptr, nullptr));
  EXPECT_STREQ(project, "");
}

TEST_F(ProjectInfo, OnlyTheFlagAskedForIsAlwaysTrue) {
  int rvx = -1;
  EXPECT_TRUE(GetProjectInfo(nullptr, nullptr, nullptr, nullptr, &rvx));
  EXPECT_EQ(rvx, 0);
}

struct ModeCase {
  std::optional<std::u16string> rvxProject;  // nullopt: unset
  int productMode;                           // 0 no interface, 1 text, 2 null text
  std::u16string modeText;
  std::uint16_t expected;
};

class RvxMode : public ProjectInfo, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(RvxMode, FromTheRvxFlagAndTheProductModeText) {
  const ModeCase& c = GetParam();
  if (c.rvxProject) service_.Env().SetVariable("_#INT#_RVXPROJECT", *c.rvxProject);
  if (c.productMode == 1) service_.Env().SetProductMode(c.modeText);
  if (c.productMode == 2) service_.Env().SetProductMode(std::nullopt);
  EXPECT_EQ(GetRvxMode(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RvxMode,
    ::testing::Values(ModeCase{std::nullopt, 1, u"EXTENDED RVX", 0},
                      ModeCase{u"", 1, u"EXTENDED RVX", 0}, ModeCase{u"1", 1, u"EXTENDED RVX", 2},
                      ModeCase{u"no", 1, u"EXTENDED RVX", 2}, ModeCase{u"1", 1, u"BASIC RVX", 1},
                      ModeCase{u"1", 0, u"", 1}, ModeCase{u"1", 1, u"extended rvx", 0xFFFF},
                      ModeCase{u"1", 1, u"EXTENDED RVX ", 0xFFFF}, ModeCase{u"1", 2, u"", 0xFFFF}));

TEST_F(ProjectInfo, NotAnRvxProjectDoesNotReadTheProductMode) {
  service_.Env().SetVariable("_#INT#_RVXPROJECT", u"");
  service_.Env().SetProductMode(u"EXTENDED RVX");
  EXPECT_EQ(GetRvxMode(), 0);
  EXPECT_EQ(service_.Log().CountOf("Env.GetModeText"), 0);
}

TEST_F(ProjectInfo, ProductModeStatusIsIgnored) {
  service_.Env().SetVariable("_#INT#_RVXPROJECT", u"1");
  service_.Env().SetProductMode(u"EXTENDED RVX");
  service_.Log().Fail("Env.GetModeText", E_FAIL);
  EXPECT_EQ(GetRvxMode(), 2);
}

TEST_F(ProjectInfo, GetRvxProductModeLeavesTheFlagForUnknownTexts) {
  PxdDbBase base;
  int extended = 7;
  service_.Env().SetProductMode(u"OTHER");
  EXPECT_EQ(base.GetRvxProductMode(&extended), 0);
  EXPECT_EQ(extended, 7);
  service_.Env().RemoveProductMode();
  EXPECT_EQ(base.GetRvxProductMode(&extended), 1);
  EXPECT_EQ(extended, 7);
  service_.Env().SetProductMode(u"BASIC RVX");
  EXPECT_EQ(base.GetRvxProductMode(&extended), 1);
  EXPECT_EQ(extended, 0);
  EXPECT_THAT(service_.Log().Entries(), Contains("Env.GetModeText(1)"));
}

class ProjectInfoWithoutEnvironment : public testing_support::HostTest {};

TEST_F(ProjectInfoWithoutEnvironment, NoEnvironmentObjectMeansNotAnRvxProject) {
  fakes::FakeEnvService service;
  service.FailEnvCreation(E_FAIL);
  char project[256] = "x";
  int rvx = -1;
  EXPECT_FALSE(GetProjectInfo(project, nullptr, nullptr, nullptr, &rvx));
  EXPECT_STREQ(project, "");
  EXPECT_EQ(rvx, 0);
  EXPECT_EQ(GetRvxMode(), 0);
}

}  // namespace
