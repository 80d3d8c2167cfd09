#include "component/rev_manager.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "component/component_module_state.h"
#include "component/rev_manager_sheet.h"
#include "tests/component/component_fixture.h"

namespace {

using component::DirectRevManager;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class RevManagerTest : public testing_support::ComponentTest {};

struct CheckCase {
  const char* situation;
  std::function<void(RevManagerTest&)> arrange;
  HRESULT code;
  const char* description;
};

class ConstructionChecks : public RevManagerTest, public ::testing::WithParamInterface<CheckCase> {
 public:
  fakes::FakeEnvService& Env() { return env_; }
  fakes::FakeRvxWorld& Rvx() { return rvx_; }
};

TEST_P(ConstructionChecks, ClassFactoryCreationFailsWithTheChecksCodeAndDescription) {
  GetParam().arrange(*this);
  com::ComPtr<IRevManager> manager;
  EXPECT_EQ(
      component::CreateRevManager(nullptr, IRevManager::IID_, manager.ReleaseAndGetVoidAddress()),
      GetParam().code);
  EXPECT_FALSE(manager);
  EXPECT_EQ(test_support::TakeErrorText(),
            std::string("VNMORMgr.RevManager.1|") + GetParam().description);
}

TEST_P(ConstructionChecks, DirectInstanceIsMadeAllTheSameAndKeepsTheResult) {
  GetParam().arrange(*this);
  DirectRevManager manager;
  EXPECT_EQ(manager.ConstructionResult(), GetParam().code);
  EXPECT_EQ(manager.Project(), nullptr);
  EXPECT_EQ(test_support::TakeErrorText(),
            std::string("VNMORMgr.RevManager.1|") + GetParam().description);
}

INSTANTIATE_TEST_SUITE_P(
    Situations, ConstructionChecks,
    ::testing::Values(CheckCase{"not an RVX project",
                                [](RevManagerTest& t) {
                                  static_cast<ConstructionChecks&>(t).Env().Env().RemoveVariable(
                                      "_#INT#_RVXPROJECT");
                                },
                                E_ACCESSDENIED, "This is no RVX enabled project"},
                      CheckCase{"basic mode",
                                [](RevManagerTest& t) {
                                  static_cast<ConstructionChecks&>(t).Env().Env().SetProductMode(
                                      u"BASIC RVX");
                                },
                                E_ACCESSDENIED, "This is no RVX enabled project"},
                      CheckCase{
                          "no product mode",
                          [](RevManagerTest& t) {
                            static_cast<ConstructionChecks&>(t).Env().Env().RemoveProductMode();
                          },
                          E_ACCESSDENIED, "This is no RVX enabled project"},
                      CheckCase{"no grant",
                                [](RevManagerTest& t) {
                                  static_cast<ConstructionChecks&>(t).Rvx().AccessControl().Revoke(
                                      "mor.revisionmgmnt");
                                },
                                E_ACCESSDENIED, "You are not authorized to run this program."},
                      CheckCase{"no database link",
                                [](RevManagerTest& t) {
                                  static_cast<ConstructionChecks&>(t).Env().Env().Withhold(
                                      IEnvDatabaseLink::IID_);
                                },
                                E_FAIL, "GetProject failed"},
                      CheckCase{"no current project and none to open",
                                [](RevManagerTest& t) {
                                  auto& log = static_cast<ConstructionChecks&>(t).Rvx().Log();
                                  // The access check's GetCurrentProject is the first; fail the
                                  // later ones.
                                  log.Fail("Database.GetCurrentProject", E_FAIL, 1);
                                  log.Fail("Database.OpenProject", E_FAIL);
                                },
                                E_FAIL, "GetProject failed"},
                      CheckCase{"current project S_FALSE",
                                [](RevManagerTest& t) {
                                  auto& rvx = static_cast<ConstructionChecks&>(t).Rvx();
                                  rvx.Log().Fail("Database.GetCurrentProject", E_FAIL, 1);
                                  rvx.Database().SetOpenProjectResult(S_FALSE);
                                },
                                E_FAIL, "GetProject failed"}));

TEST_F(RevManagerTest, ConstructionHoldsDatabaseAndProject) {
  DirectRevManager manager;
  EXPECT_EQ(manager.ConstructionResult(), S_OK);
  EXPECT_EQ(manager.Database(), static_cast<IRvxDatabase*>(&rvx_.Database()));
  EXPECT_EQ(manager.Project(), static_cast<IRvxProject*>(&rvx_.Project()));
}

TEST_F(RevManagerTest, CurrentProjectFailingFallsBackToOpenProjectWithTheProjectName) {
  rvx_.Log().Fail("Database.GetCurrentProject", E_FAIL, 1);
  DirectRevManager manager;
  EXPECT_EQ(manager.ConstructionResult(), S_OK);
  EXPECT_EQ(rvx_.Log().Entries().back(), "Database.OpenProject(P1)");
  EXPECT_EQ(manager.ProjectName().View(), u"P1");
}

TEST_F(RevManagerTest, ClassFactoryInstanceAnswersItsInterfaces) {
  com::ComPtr<IRevManager> manager;
  ASSERT_EQ(
      component::CreateRevManager(nullptr, IRevManager::IID_, manager.ReleaseAndGetVoidAddress()),
      S_OK);
  for (const GUID& iid : {IUnknown::IID_, IDispatch::IID_, ISupportErrorInfo::IID_}) {
    com::ComPtr<IUnknown> other;
    EXPECT_EQ(manager->QueryInterface(iid, other.ReleaseAndGetVoidAddress()), S_OK);
  }
  com::ComPtr<ISupportErrorInfo> support = manager.Query<ISupportErrorInfo>();
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IRevManager), S_OK);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(IDispatch::IID_), S_FALSE);
}

TEST_F(RevManagerTest, AggregationOnlyForIUnknown) {
  com::ComPtr<IRevManager> outer;
  ASSERT_EQ(
      component::CreateRevManager(nullptr, IRevManager::IID_, outer.ReleaseAndGetVoidAddress()),
      S_OK);
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(component::CreateRevManager(outer.Get(), IRevManager::IID_, &out),
            CLASS_E_NOAGGREGATION);
  EXPECT_EQ(out, nullptr);
  com::ComPtr<IUnknown> inner;
  EXPECT_EQ(
      component::CreateRevManager(outer.Get(), IUnknown::IID_, inner.ReleaseAndGetVoidAddress()),
      S_OK);
  EXPECT_TRUE(inner);
  EXPECT_EQ(component::CreateRevManager(nullptr, IRevManager::IID_, nullptr), E_POINTER);
}

int g_locks = 0;
TEST_F(RevManagerTest, ClassFactoryInstanceHoldsAModuleLockWhileItLives) {
  component::SetRevManagerModuleLock([] { ++g_locks; }, [] { --g_locks; });
  {
    com::ComPtr<IRevManager> manager;
    ASSERT_EQ(
        component::CreateRevManager(nullptr, IRevManager::IID_, manager.ReleaseAndGetVoidAddress()),
        S_OK);
    EXPECT_EQ(g_locks, 1);
  }
  EXPECT_EQ(g_locks, 0);
  env_.Env().SetProductMode(u"BASIC RVX");
  com::ComPtr<IRevManager> refused;
  EXPECT_EQ(
      component::CreateRevManager(nullptr, IRevManager::IID_, refused.ReleaseAndGetVoidAddress()),
      E_ACCESSDENIED);
  EXPECT_EQ(g_locks, 0);
  { DirectRevManager direct; }
  EXPECT_EQ(g_locks, 0);
  component::SetRevManagerModuleLock(nullptr, nullptr);
}

TEST_F(RevManagerTest, DirectInstanceAnswersNoQueriesAndCountsNothing) {
  DirectRevManager manager;
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(manager.QueryInterface(IRevManager::IID_, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(manager.AddRef(), 0u);
  EXPECT_EQ(manager.Release(), 0u);
}

std::string g_stateDuringSheet;
TEST_F(RevManagerTest, ShowRevManagerDlgRunsTheSheetInTheComponentsState) {
  auto previous = component::SetRevManagerSheetRunner(
      [] { g_stateDuringSheet = ui::CurrentModuleState().AppName(); });
  DirectRevManager manager;
  const std::string before = ui::CurrentModuleState().AppName();
  EXPECT_EQ(manager.ShowRevManagerDlg(), S_OK);
  EXPECT_EQ(g_stateDuringSheet, "VNMORMgr");
  EXPECT_EQ(ui::CurrentModuleState().AppName(), before);
  component::SetRevManagerSheetRunner(previous);
}

}  // namespace
