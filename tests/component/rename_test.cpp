#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "component/rev_manager.h"
#include "component/revision_package.h"
#include "tests/component/component_fixture.h"

namespace {

using component::DirectRevManager;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

using testing_support::Result;

class Rename : public testing_support::ComponentTest {
 protected:
  void SetUp() override {
    ComponentTest::SetUp();
    manager_ = std::make_unique<DirectRevManager>();
    ASSERT_EQ(manager_->ConstructionResult(), S_OK);
    rvx_.Log().Clear();
    manager_->put_ObjectHandle(com::BStr(u"H1").Get());
    // The lookup's row: handle, object name, revision name, dbc.
    query_.Query().SetRows({{{u"H1", u"PLANE-1", u"R3", std::int32_t{12}}, {}}});
  }
  void TearDown() override {
    manager_.reset();
    ComponentTest::TearDown();
  }
  HRESULT CallRename(const char16_t* name, const char16_t* remark) {
    com::BStr n(name ? std::u16string_view(name) : u""),
        r(remark ? std::u16string_view(remark) : u"");
    return manager_->Rename(name ? n.Get() : nullptr, remark ? r.Get() : nullptr);
  }
  std::unique_ptr<DirectRevManager> manager_;
};

TEST_F(Rename, LooksTheRevisionUpThenTestsLatestThenUpdatesAndCommits) {
  rvx_.ScriptCommand(Result(std::int32_t{0}));  // IS_LATEST: not latest
  rvx_.ScriptCommand(Result(std::int32_t{1}));
  EXPECT_EQ(CallRename(u"New", u"Because"), S_OK);
  EXPECT_THAT(query_.Query().CallLog(),
              ElementsAre("AddSelect(1)", "AddSelect(2)", "AddSelect(8)", "AddSelect(3)",
                          "AddCondition(1,0,VT_BSTR:\"H1\",VT_BSTR:\"\")", "SetRowOption(-1)",
                          "Execute()", "GetValue(0)", "GetValue(1)", "GetValue(2)", "GetValue(3)"));
  ASSERT_EQ(rvx_.Commands().size(), 2u);
  const fakes::CommandRecord& isLatest = rvx_.Commands()[0];
  EXPECT_EQ(isLatest.text, "BEGIN :1 := WDB_REVISION_PKG.IS_LATEST(:2, :3, :4); END;");
  ASSERT_EQ(isLatest.parameters.size(), 4u);
  EXPECT_EQ(isLatest.parameters[1].name, "ObjName");
  EXPECT_EQ(isLatest.parameters[1].value.TextView(), u"PLANE-1");
  EXPECT_EQ(isLatest.parameters[2].name, "RevName");
  EXPECT_EQ(isLatest.parameters[2].value.TextView(), u"R3");
  EXPECT_EQ(isLatest.parameters[3].name, "dbc");
  EXPECT_EQ(isLatest.parameters[3].type, 2);
  EXPECT_EQ(isLatest.parameters[3].direction, 1);
  EXPECT_EQ(isLatest.parameters[3].value.Get().lVal, 12);
  EXPECT_THAT(rvx_.Log().EntriesStartingWith("Database."), ElementsAre("Database.Commit"));
  EXPECT_EQ(manager_->RevisionName().TextView(), u"New");
  EXPECT_EQ(manager_->RevisionRemark().TextView(), u"Because");
}

struct UpdateCase {
  const char16_t* name;
  const char16_t* remark;
  const char* text;
  std::vector<std::string> names;
  HRESULT expected;
};

class RenameCombinations : public Rename, public ::testing::WithParamInterface<UpdateCase> {};

TEST_P(RenameCombinations, BindOnlyTheGivenTexts) {
  rvx_.ScriptCommand(Result(std::int32_t{0}));
  rvx_.ScriptCommand(Result(std::int32_t{1}));
  EXPECT_EQ(CallRename(GetParam().name, GetParam().remark), GetParam().expected);
  if (!GetParam().text) {
    EXPECT_EQ(rvx_.Commands().size(), 1u);  // IS_LATEST only
    EXPECT_EQ(rvx_.Log().CountOf("Database.Commit"), 0);
    return;
  }
  ASSERT_EQ(rvx_.Commands().size(), 2u);
  const fakes::CommandRecord& update = rvx_.Commands()[1];
  EXPECT_EQ(update.text, GetParam().text);
  std::vector<std::string> names;
  for (const auto& p : update.parameters) names.push_back(p.name);
  EXPECT_EQ(names, GetParam().names);
  EXPECT_EQ(update.parameters[1].value.TextView(), u"H1");
  EXPECT_EQ(rvx_.Log().CountOf("Database.Commit"), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RenameCombinations,
    ::testing::Values(
        UpdateCase{u"N",
                   u"R",
                   "BEGIN :1 := WDB_REVISION_PKG.UPDATE_REVISION_INFO(HEXTORAW(:2), :3, :4); END;",
                   {"res", "ObjId", "RevisionName", "RevisionRemark"},
                   S_OK},
        UpdateCase{u"N",
                   u"",
                   "BEGIN :1 := WDB_REVISION_PKG.UPDATE_REVISION_INFO(HEXTORAW(:2), :3, NULL); "
                   "END;",
                   {"res", "ObjId", "RevisionName"},
                   S_OK},
        UpdateCase{nullptr,
                   u"R",
                   "BEGIN :1 := WDB_REVISION_PKG.UPDATE_REVISION_INFO(HEXTORAW(:2), NULL, :3); "
                   "END;",
                   {"res", "ObjId", "RevisionRemark"},
                   S_OK},
        UpdateCase{u"", nullptr, nullptr, {}, S_FALSE}));

TEST_F(Rename, LatestRevisionShowsTheMessageOnceAndChangesNothing) {
  rvx_.ScriptCommand(Result(std::int32_t{1}));
  Boxes().Expect(os::MessageBoxAnswer::Ok);
  EXPECT_EQ(CallRename(u"", u""), S_FALSE);
  ASSERT_EQ(Boxes().Shown().size(), 1u);
  EXPECT_EQ(Boxes().Shown()[0].text, "You must not alter latest revision");
  EXPECT_EQ(Boxes().Shown()[0].caption, "VNMORMgr");
  EXPECT_EQ(Boxes().Shown()[0].buttons, os::MessageBoxButtons::Ok);
  EXPECT_EQ(rvx_.Commands().size(), 1u);
  EXPECT_EQ(rvx_.Log().CountOf("Database.Commit"), 0);
}

struct QuietCase {
  const char* name;
  fakes::CommandScript isLatest;
  const char* failingStep;
};

class RenameWithoutUpdate : public Rename, public ::testing::WithParamInterface<QuietCase> {};

// IS_LATEST not executed, or its result unknown: no update, no message, S_FALSE.
TEST_P(RenameWithoutUpdate, ReturnsSFalseSilently) {
  rvx_.ScriptCommand(GetParam().isLatest);
  if (GetParam().failingStep) rvx_.Log().Fail(GetParam().failingStep, E_FAIL);
  EXPECT_EQ(CallRename(u"N", u"R"), S_FALSE);
  EXPECT_EQ(rvx_.Commands().size(), 1u);
  EXPECT_THAT(Boxes().Shown(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RenameWithoutUpdate,
    ::testing::Values(QuietCase{"not_executed", {E_FAIL, {}}, nullptr},
                      QuietCase{"item_unreadable", Result(std::int32_t{0}), "Parameters.get_Item"},
                      QuietCase{"value_unreadable", Result(std::int32_t{0}), "Parameter.get_Value"},
                      QuietCase{"null_result", Result(com::kNull), nullptr},
                      QuietCase{"no_result", {}, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Rename, UpdateNotExecutedGivesSFalse) {
  rvx_.ScriptCommand(Result(std::int32_t{0}));
  rvx_.ScriptCommand({E_FAIL, {}});
  EXPECT_EQ(CallRename(u"N", u"R"), S_FALSE);
  EXPECT_EQ(rvx_.Log().CountOf("Database.Commit"), 0);
}

TEST_F(Rename, QueryServerThatCannotBeCreatedChangesNothingAndSaysSo) {
  query_.FailCreation(E_FAIL);
  EXPECT_EQ(CallRename(u"N", u"R"), S_FALSE);
  EXPECT_EQ(rvx_.CommandCreations(), 0);
}

TEST_F(Rename, QueryServerFailuresAreNotExamined) {
  query_.Query().Fail(fakes::VnQueryOp::Execute, E_FAIL);
  rvx_.ScriptCommand(Result(std::int32_t{0}));
  rvx_.ScriptCommand(Result(std::int32_t{1}));
  EXPECT_EQ(CallRename(u"N", u"R"), S_OK);
  // Values as the query server gave them: none.
  EXPECT_EQ(rvx_.Commands()[0].parameters[1].value.Type(), VT_EMPTY);
}

TEST_F(Rename, RefusedByAccessControlStoresNothingAndReturnsSFalse) {
  ResetAccessCacheForTesting();
  rvx_.AccessControl().Revoke("mor.revisionmgmnt");
  EXPECT_EQ(CallRename(u"N", u"R"), S_FALSE);
  EXPECT_EQ(manager_->RevisionName().Type(), VT_EMPTY);
  EXPECT_EQ(query_.CreationRequests(), 0);
  EXPECT_EQ(rvx_.CommandCreations(), 0);
}

TEST_F(Rename, CommitFailureOfTheUpdateIsTheMembersCode) {
  rvx_.ScriptCommand(Result(std::int32_t{0}));
  rvx_.ScriptCommand(Result(std::int32_t{1}));
  rvx_.Log().Fail("Database.Commit", MakeHresult(0x80040E2Fu));
  EXPECT_EQ(CallRename(u"N", u"R"), MakeHresult(0x80040E2Fu));
  EXPECT_EQ(test_support::TakeErrorText(),
            "VNMORMgr.RevManager.1|Rename failed: Commit returned 0x80040E2F: Database.Commit "
            "failed");
}

}  // namespace
