// Environment objects: variables, product mode from the project's store, database link.
#include <gtest/gtest.h>

#include "platform/com/utf.h"
#include "platform/com/variant.h"
#include "servers/rvx/current_user.h"
#include "servers/store/project_setup.h"
#include "tests/env/env_fixture.h"

namespace env_test {
namespace {

using Environment = EnvFixture;

struct Read {
  HRESULT hr;
  bool isNull;
  std::u16string text;
};

Read Variable(IEnvVariables* environment, const char16_t* name) {
  com::BStr nameText(name), value;
  HRESULT hr = environment->GetVariable(nameText.Get(), &value);
  return {hr, value.IsNull(), std::u16string(value.View())};
}

Read ModeText(IEnvVariables* environment, std::int32_t selector = 1) {
  auto mode = com::ComPtr<IEnvVariables>(environment).Query<IEnvProductMode>();
  EXPECT_TRUE(mode);
  com::BStr text;
  HRESULT hr = mode->GetModeText(selector, &text);
  return {hr, text.IsNull(), std::u16string(text.View())};
}

void SetUpProject(const std::string& name, const std::string& mode,
                  std::vector<store::FunctionGrant> grants = {}) {
  std::string error;
  ASSERT_TRUE(store::SetUpProject(name, mode, grants, {}, &error)) << error;
}

TEST_F(Environment, VariablesComeFromTheProcessEnvironment) {
  variables_.Set("_#INT#_PROJECT", "SHIP1");
  variables_.Set("_#INT#_RVXPROJECT", "0");
  variables_.Set("PW_SUBPROJ", "SUB \xC3\xA9");  // UTF-8 for e with acute
  variables_.Set("_#INT#_FTPHOST", "");
  auto environment = NewEnvironment();

  struct Case {
    const char16_t* name;
    HRESULT hr;
    bool isNull;
    std::u16string text;
  };
  const Case cases[] = {
      {u"_#INT#_PROJECT", S_OK, false, u"SHIP1"},   {u"_#INT#_RVXPROJECT", S_OK, false, u"0"},
      {u"PW_SUBPROJ", S_OK, false, u"SUB \u00E9"},  {u"_#INT#_FTPHOST", S_OK, false, u""},
      {u"_#INT#_PROJECTGROUP", S_FALSE, true, u""},
  };
  for (const Case& c : cases) {
    Read read = Variable(environment.Get(), c.name);
    EXPECT_EQ(read.hr, c.hr) << com::ToUtf8(c.name);
    EXPECT_EQ(read.isNull, c.isNull) << com::ToUtf8(c.name);
    EXPECT_EQ(read.text, c.text) << com::ToUtf8(c.name);
  }
  EXPECT_LT(Variable(environment.Get(), u"").hr, 0);
  com::BStr value;
  EXPECT_LT(environment->GetVariable(nullptr, &value), 0);
}

TEST_F(Environment, ModeTextIsTheCurrentProjectsProductMode) {
  SetUpProject("BASIC1", store::kBasicRvx);
  SetUpProject("EXT1", store::kExtendedRvx);
  SetUpProject("ODD1", "extended rvx");
  auto environment = NewEnvironment();
  struct Case {
    const char* project;
    std::u16string text;
  };
  const Case cases[] = {
      {"BASIC1", u"BASIC RVX"},
      {"EXT1", u"EXTENDED RVX"},
      {"ODD1", u"extended rvx"},
  };
  for (const Case& c : cases) {
    variables_.Set("_#INT#_PROJECT", c.project);
    Read read = ModeText(environment.Get());
    EXPECT_EQ(read.hr, S_OK) << c.project;
    EXPECT_FALSE(read.isNull) << c.project;
    EXPECT_EQ(read.text, c.text) << c.project;
  }
}

TEST_F(Environment, ModeTextWithoutAKnownProjectIsNull) {
  auto environment = NewEnvironment();
  Read none = ModeText(environment.Get());
  EXPECT_EQ(none.hr, S_FALSE);
  EXPECT_TRUE(none.isNull);

  variables_.Set("_#INT#_PROJECT", "NOT-LISTED");
  Read unlisted = ModeText(environment.Get());
  EXPECT_LT(unlisted.hr, 0);
  EXPECT_TRUE(unlisted.isNull);
  com::ComPtr<IErrorInfo> info;
  EXPECT_EQ(GetErrorInfo(0, &info), S_OK);

  SetUpProject("EXT1", store::kExtendedRvx);
  variables_.Set("_#INT#_PROJECT", "EXT1");
  Read otherSelector = ModeText(environment.Get(), 2);
  EXPECT_LT(otherSelector.hr, 0);
  EXPECT_TRUE(otherSelector.isNull);
}

com::ComPtr<IRvxDatabase> LinkedDatabase(IEnvVariables* environment, HRESULT* hr = nullptr) {
  auto link = com::ComPtr<IEnvVariables>(environment).Query<IEnvDatabaseLink>();
  EXPECT_TRUE(link);
  com::ComPtr<IUnknown> database;
  HRESULT result = link->GetDatabase(&database);
  if (hr) *hr = result;
  return database.Query<IRvxDatabase>();
}

TEST_F(Environment, DatabaseLinkGivesTheCurrentProjectsDatabase) {
  RegisterRvxServer();
  SetUpProject("EXT1", store::kExtendedRvx, {{rvx::CurrentUserName(), "mor.revisionmgmnt"}});
  variables_.Set("_#INT#_PROJECT", "EXT1");
  auto environment = NewEnvironment();

  auto database = LinkedDatabase(environment.Get());
  ASSERT_TRUE(database);
  com::ComPtr<IRvxProject> project;
  ASSERT_EQ(database->GetCurrentProject(&project), S_OK);
  com::ComPtr<IRvxAccessControl> access;
  ASSERT_EQ(project->GetAccessControl(&access), S_OK);
  std::int32_t allowed = 0;
  com::BStr function(u"mor.revisionmgmnt");
  ASSERT_EQ(access->IsFunctionAllowed(function.Get(), &allowed), S_OK);
  EXPECT_NE(allowed, 0) << "the grants are those of EXT1";

  // The database is the one the server knows as open for the project.
  com::ComPtr<IRvxServer> server;
  ASSERT_EQ(com::CreateRunning(CLSID_RvxServer, &server), S_OK);
  com::ComPtr<IRvxDatabase> found;
  ASSERT_EQ(server->FindDatabase(com::Variant(u"EXT1").Get(), &found), S_OK);
  EXPECT_TRUE(found);
  EXPECT_TRUE(LinkedDatabase(NewEnvironment().Get()));
}

TEST_F(Environment, DatabaseLinkFailsWithoutProjectOrServer) {
  auto environment = NewEnvironment();
  SetUpProject("EXT1", store::kExtendedRvx);

  HRESULT hr = S_OK;
  EXPECT_FALSE(LinkedDatabase(environment.Get(), &hr));
  EXPECT_LT(hr, 0) << "no project";
  com::ComPtr<IErrorInfo> info;
  EXPECT_EQ(GetErrorInfo(0, &info), S_OK);

  variables_.Set("_#INT#_PROJECT", "EXT1");
  EXPECT_FALSE(LinkedDatabase(environment.Get(), &hr));
  EXPECT_LT(hr, 0) << "no RVX server in this process";

  RegisterRvxServer();
  variables_.Set("_#INT#_PROJECT", "NOT-LISTED");
  EXPECT_FALSE(LinkedDatabase(environment.Get(), &hr));
  EXPECT_LT(hr, 0) << "unlisted project";
}

TEST_F(Environment, AnEnvironmentObjectOffersItsInterfaces) {
  auto environment = NewEnvironment();
  auto support = environment.Query<ISupportErrorInfo>();
  ASSERT_TRUE(support);
  for (const GUID& iid : {IEnvVariables::IID_, IEnvProductMode::IID_, IEnvDatabaseLink::IID_}) {
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(iid), S_OK);
  }
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(IEnvRegistry::IID_), S_FALSE);
  auto second = NewEnvironment();
  EXPECT_NE(environment.Get(), second.Get()) << "a new environment object per creation";
}

}  // namespace
}  // namespace env_test
