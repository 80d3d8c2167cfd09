// The revision manager object against the stand-in environment service, RVX server and query
// server, on a generated project store in a temporary product home.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "component/rev_manager.h"
#include "servers/env/env_service.h"
#include "servers/rvx/current_user.h"
#include "servers/rvx/rvx_server.h"
#include "servers/store/generator.h"
#include "servers/store/project_setup.h"
#include "servers/store/revision_store.h"
#include "servers/vnquery/vnquery_server.h"
#include "tests/env/env_fixture.h"
#include "tests/host/host_test_support.h"
#include "tests/rvx/rvx_fixture.h"
#include "tests/support/error_text.h"

namespace {

using component::DirectRevManager;

constexpr char kProject[] = "SHIP1";

class EndToEnd : public testing_support::HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    env::RegisterInProcess();
    rvx::RegisterInProcess();
    vnquery::RegisterInProcess();
    std::string error;
    auto setup = store::SetUpProject(kProject, store::kExtendedRvx,
                                     {{rvx::CurrentUserName(), "mor.revisionmgmnt"}}, {}, &error);
    ASSERT_TRUE(setup) << error;
    store::GeneratorOptions options;
    options.seed = 7;
    options.revisionCount = 300;
    store::GenerateRevisions(*setup, options);
    setup->EnsureDatabank(77, "PW_TESTDB");
    const auto t0 = std::chrono::time_point_cast<std::chrono::seconds>(
        std::chrono::sys_days(std::chrono::year(2021) / 3 / 1));
    const std::uint64_t object = setup->AddObject(77, "PANEL-E2E", 1, 0);
    for (int i = 0; i < 3; ++i) {
      std::optional<std::string> name =
          i < 2 ? std::optional<std::string>("R" + std::to_string(i + 1)) : std::nullopt;
      std::optional<std::string> remark =
          i == 0 ? std::optional<std::string>("first") : std::nullopt;
      handles_.push_back(store::FormatHandle(
          setup->AddRevision(object, {name, remark, "anna", t0 + std::chrono::hours(i), {}, {}})));
    }
    setup.reset();
    variables_.Set("_#INT#_PROJECT", kProject);
    variables_.Set("_#INT#_RVXPROJECT", "1");
  }

  std::unique_ptr<store::RevisionStore> Store() {
    std::string error;
    auto opened = store::OpenProjectStore(kProject, &error);
    EXPECT_TRUE(opened) << error;
    return opened;
  }
  static com::BStr Text(const std::string& text) { return com::BStr::FromUtf8(text); }

  rvx_test::TempHome home_;
  env_test::VariableScope variables_;
  std::vector<std::string> handles_;  // oldest first; the last is the latest
};

TEST_F(EndToEnd, CountOldestAndDelete) {
  DirectRevManager manager;
  ASSERT_EQ(manager.ConstructionResult(), S_OK) << test_support::TakeErrorText();
  ASSERT_EQ(manager.put_ObjectHandle(Text(handles_[2]).Get()), S_OK);
  std::int32_t count = 0;
  EXPECT_EQ(manager.GetRevisionCount(&count), S_OK);
  EXPECT_EQ(count, 3);

  BSTR handle = nullptr, name = nullptr, remark = nullptr;
  EXPECT_EQ(manager.GetOldestRevision(&handle, &name, &remark), S_OK);
  com::BStr h, n, r;
  h.Attach(handle);
  n.Attach(name);
  r.Attach(remark);
  EXPECT_EQ(h.ToUtf8(), handles_[0]);
  EXPECT_EQ(n.ToUtf8(), "R1");
  EXPECT_EQ(r.ToUtf8(), "first");

  EXPECT_EQ(manager.Delete(Text(handles_[0]).Get()), S_OK);
  EXPECT_EQ(manager.GetRevisionCount(&count), S_OK);
  EXPECT_EQ(count, 2);
  EXPECT_FALSE(Store()->FindRevision(*store::ParseHandle(handles_[0])));
  // The latest revision is not deleted.
  EXPECT_EQ(manager.Delete(Text(handles_[2]).Get()), E_FAIL);
  EXPECT_EQ(manager.GetRevisionCount(&count), S_OK);
  EXPECT_EQ(count, 2);
}

struct RenameCase {
  const char* name;
  const char* remark;
  std::optional<std::string> expectedName;
  std::optional<std::string> expectedRemark;
  HRESULT expected;
};

class EndToEndRename : public EndToEnd, public ::testing::WithParamInterface<RenameCase> {};

TEST_P(EndToEndRename, ChangesOnlyTheGivenTexts) {
  DirectRevManager manager;
  ASSERT_EQ(manager.ConstructionResult(), S_OK) << test_support::TakeErrorText();
  manager.put_ObjectHandle(Text(handles_[0]).Get());
  EXPECT_EQ(manager.Rename(Text(GetParam().name).Get(), Text(GetParam().remark).Get()),
            GetParam().expected);
  auto revision = Store()->FindRevision(*store::ParseHandle(handles_[0]));
  ASSERT_TRUE(revision);
  EXPECT_EQ(revision->name, GetParam().expectedName);
  EXPECT_EQ(revision->remark, GetParam().expectedRemark);
}

INSTANTIATE_TEST_SUITE_P(Combinations, EndToEndRename,
                         ::testing::Values(RenameCase{"N1", "new remark", "N1", "new remark", S_OK},
                                           RenameCase{"N1", "", "N1", "first", S_OK},
                                           RenameCase{"", "new remark", "R1", "new remark", S_OK},
                                           RenameCase{"", "", "R1", "first", S_FALSE}));

TEST_F(EndToEnd, LatestRevisionIsNotAltered) {
  DirectRevManager manager;
  ASSERT_EQ(manager.ConstructionResult(), S_OK) << test_support::TakeErrorText();
  manager.put_ObjectHandle(Text(handles_[2]).Get());
  Boxes().Expect(os::MessageBoxAnswer::Ok);
  EXPECT_EQ(manager.Rename(Text("N").Get(), Text("R").Get()), S_FALSE);
  ASSERT_EQ(Boxes().Shown().size(), 1u);
  EXPECT_EQ(Boxes().Shown()[0].text, "You must not alter latest revision");
  EXPECT_EQ(Boxes().Shown()[0].caption, "VNMORMgr");
  auto revision = Store()->FindRevision(*store::ParseHandle(handles_[2]));
  ASSERT_TRUE(revision);
  EXPECT_EQ(revision->name, std::nullopt);
}

struct FailureCase {
  const char* situation;
  void (*arrange)(EndToEnd&, env_test::VariableScope&, store::RevisionStore&);
  HRESULT code;
  const char* description;
};

class EndToEndConstruction : public EndToEnd, public ::testing::WithParamInterface<FailureCase> {
 public:
  env_test::VariableScope& Variables() { return variables_; }
};

TEST_P(EndToEndConstruction, FailsWithTheChecksCodeAndDescription) {
  {
    auto store = Store();
    GetParam().arrange(*this, Variables(), *store);
  }
  com::ComPtr<IRevManager> manager;
  EXPECT_EQ(
      component::CreateRevManager(nullptr, IRevManager::IID_, manager.ReleaseAndGetVoidAddress()),
      GetParam().code);
  EXPECT_EQ(test_support::TakeErrorText(),
            std::string("VNMORMgr.RevManager.1|") + GetParam().description);
}

INSTANTIATE_TEST_SUITE_P(
    Situations, EndToEndConstruction,
    ::testing::Values(FailureCase{"not_rvx",
                                  [](EndToEnd&, env_test::VariableScope& v, store::RevisionStore&) {
                                    v.Unset("_#INT#_RVXPROJECT");
                                  },
                                  E_ACCESSDENIED, "This is no RVX enabled project"},
                      FailureCase{"basic",
                                  [](EndToEnd&, env_test::VariableScope&, store::RevisionStore& s) {
                                    s.SetProductMode(kProject, store::kBasicRvx);
                                  },
                                  E_ACCESSDENIED, "This is no RVX enabled project"},
                      FailureCase{"no_grant",
                                  [](EndToEnd&, env_test::VariableScope&, store::RevisionStore& s) {
                                    s.Revoke(kProject, rvx::CurrentUserName(), "mor.revisionmgmnt");
                                  },
                                  E_ACCESSDENIED, "You are not authorized to run this program."},
                      FailureCase{"no_project",
                                  [](EndToEnd&, env_test::VariableScope& v, store::RevisionStore&) {
                                    v.Unset("_#INT#_PROJECT");
                                  },
                                  E_ACCESSDENIED, "This is no RVX enabled project"}),
    [](const auto& info) { return std::string(info.param.situation); });

}  // namespace
