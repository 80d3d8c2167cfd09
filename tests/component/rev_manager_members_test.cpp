#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "component/rev_manager.h"
#include "component/revision_package.h"
#include "platform/ui/module_state.h"
#include "tests/component/component_fixture.h"

namespace {

using component::DirectRevManager;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

com::BStr Text(std::u16string_view text) {
  return com::BStr(text);
}

using testing_support::Result;

class Members : public testing_support::ComponentTest {
 protected:
  void SetUp() override {
    ComponentTest::SetUp();
    manager_ = std::make_unique<DirectRevManager>();
    ASSERT_EQ(manager_->ConstructionResult(), S_OK);
    rvx_.Log().Clear();
  }
  void TearDown() override {
    manager_.reset();
    ComponentTest::TearDown();
  }
  void SetHandle(std::u16string_view handle) {
    ASSERT_EQ(manager_->put_ObjectHandle(Text(handle).Get()), S_OK);
  }
  std::unique_ptr<DirectRevManager> manager_;
};

TEST_F(Members, GetRevisionCountRunsTheWholeCallInOrder) {
  SetHandle(u"AB12");
  rvx_.ScriptCommand(Result(std::int32_t{3}));
  std::int32_t count = -1;
  EXPECT_EQ(manager_->GetRevisionCount(&count), S_OK);
  EXPECT_EQ(count, 3);
  EXPECT_THAT(
      CommandLog(),
      ElementsAre(
          "Command.Create", "Command.Run", "Command.SetProject(project)", "Command.get_Parameters",
          "Command.CreateParameter(res,2,2,VT_EMPTY)", "Parameters.Append(res)",
          "Command.CreateParameter(ObjId,1,1,VT_BSTR:\"AB12\")", "Parameters.Append(ObjId)",
          "Command.put_CommandText(BEGIN :1 := "
          "WDB_REVISION_PKG.GET_REVISION_COUNT(HEXTORAW(:2)); END;)",
          "Command.Execute(0)", "Parameters.get_Item(VT_I4:0)", "Parameter.get_Value(res)"));
}

TEST_F(Members, GetRevisionCountBeforeAnyHandleBindsTheEmptyText) {
  DirectRevManager fresh;
  rvx_.Log().Clear();
  std::int32_t count = 0;
  fresh.GetRevisionCount(&count);
  EXPECT_THAT(rvx_.Log().Entries(), Contains("Command.CreateParameter(ObjId,1,1,VT_BSTR:\"\")"));
}

TEST_F(Members, OnlyTheLastObjectHandleIsUsed) {
  SetHandle(u"FIRST");
  SetHandle(u"SECOND");
  std::int32_t count = 0;
  manager_->GetRevisionCount(&count);
  EXPECT_EQ(rvx_.Commands().at(0).parameters.at(1).value.TextView(), u"SECOND");
  manager_->put_ObjectHandle(nullptr);
  manager_->GetRevisionCount(&count);
  EXPECT_EQ(rvx_.Commands().at(1).parameters.at(1).value.TextView(), u"");
}

TEST_F(Members, GetRevisionCountNotExecutedOrUnreadable) {
  std::int32_t count = 7;
  rvx_.ScriptCommand({E_FAIL, {}});
  EXPECT_EQ(manager_->GetRevisionCount(&count), S_FALSE);
  EXPECT_EQ(count, 7);
  rvx_.Log().Fail("Parameters.get_Item", E_FAIL);
  rvx_.ScriptCommand(Result(std::int32_t{3}));
  EXPECT_EQ(manager_->GetRevisionCount(&count), S_OK);
  EXPECT_EQ(count, 7);
  EXPECT_EQ(manager_->GetRevisionCount(nullptr), E_POINTER);
  EXPECT_EQ(rvx_.Log().CountOf("Database.Commit"), 0);
}

struct DeleteCase {
  const char* name;
  fakes::CommandScript script;
  const char* failingStep;  // or null
  HRESULT expected;
  int commits;
};

class DeleteRevision : public Members, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(DeleteRevision, ResultAndCommit) {
  rvx_.ScriptCommand(GetParam().script);
  if (GetParam().failingStep) rvx_.Log().Fail(GetParam().failingStep, E_FAIL);
  SetHandle(u"STORED");
  EXPECT_EQ(manager_->Delete(Text(u"GIVEN").Get()), GetParam().expected);
  EXPECT_EQ(rvx_.Log().CountOf("Database.Commit"), GetParam().commits);
  EXPECT_THAT(rvx_.Log().Entries(),
              Contains("Command.put_CommandText(BEGIN :1 := "
                       "WDB_REVISION_PKG.DELETE_REVISION(HEXTORAW(:2)); END;)"));
  EXPECT_EQ(rvx_.Commands().at(0).parameters.at(1).value.TextView(), u"GIVEN");
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, DeleteRevision,
    ::testing::Values(
        DeleteCase{"deleted", Result(std::int32_t{1}), nullptr, S_OK, 1},
        DeleteCase{"not deleted yet committed", Result(std::int32_t{0}), nullptr, E_FAIL, 1},
        DeleteCase{"res null", Result(com::kNull), nullptr, E_FAIL, 1},
        DeleteCase{"not executed", {E_FAIL, {}}, nullptr, E_FAIL, 0},
        DeleteCase{"item unreadable", Result(std::int32_t{1}), "Parameters.get_Item", E_FAIL, 0},
        DeleteCase{"value unreadable", Result(std::int32_t{1}), "Parameter.get_Value", E_FAIL, 0},
        // Results that are not examined.
        DeleteCase{"SetProject fails", Result(std::int32_t{1}), "Command.SetProject", S_OK, 1},
        DeleteCase{"put_CommandText fails", Result(std::int32_t{1}), "Command.put_CommandText",
                   S_OK, 1}),
    [](const auto& info) {
      std::string name = info.param.name;
      for (char& c : name) {
        if (c == ' ') c = '_';
      }
      return name;
    });

TEST_F(Members, DeleteRefusedGivesEFailWithoutErrorInformationAndNoCall) {
  ResetAccessCacheForTesting();
  rvx_.AccessControl().Revoke("mor.revisionmgmnt");
  com::SetThreadErrorInfo(u"stale", u"stale");
  EXPECT_EQ(manager_->Delete(Text(u"H").Get()), E_FAIL);
  EXPECT_EQ(test_support::TakeErrorText(), "none");
  EXPECT_EQ(rvx_.CommandCreations(), 0);
}

struct RaisedCase {
  const char* name;
  std::function<void(fakes::FakeRvxWorld&)> arrange;
  HRESULT code;
  const char* description;
};

class RaisedFailures : public Members, public ::testing::WithParamInterface<RaisedCase> {};

TEST_P(RaisedFailures, BecomeTheMembersCodeWithErrorInformation) {
  GetParam().arrange(rvx_);
  EXPECT_EQ(manager_->Delete(Text(u"H").Get()), GetParam().code);
  EXPECT_EQ(test_support::TakeErrorText(),
            std::string("VNMORMgr.RevManager.1|") + GetParam().description);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, RaisedFailures,
    ::testing::Values(
        RaisedCase{"command_not_created",
                   [](fakes::FakeRvxWorld& rvx) { rvx.FailCommandCreation(E_FAIL); }, E_POINTER,
                   "Delete failed: creating the command object returned 0x80004003"},
        RaisedCase{"command_not_running",
                   [](fakes::FakeRvxWorld& rvx) { rvx.Log().Fail("Command.Run", E_FAIL); },
                   E_POINTER, "Delete failed: creating the command object returned 0x80004003"},
        RaisedCase{"append",
                   [](fakes::FakeRvxWorld& rvx) {
                     rvx.Log().Fail("Parameters.Append", MakeHresult(0x80040E14u), 1);
                   },
                   MakeHresult(0x80040E14u),
                   "Delete failed: Append returned 0x80040E14: Parameters.Append failed"},
        RaisedCase{"commit",
                   [](fakes::FakeRvxWorld& rvx) {
                     rvx.ScriptCommand(Result(std::int32_t{1}));
                     rvx.Log().Fail("Database.Commit", E_FAIL);
                   },
                   E_FAIL, "Delete failed: Commit returned 0x80004005: Database.Commit failed"},
        RaisedCase{
            "no_parameters_collection",
            [](fakes::FakeRvxWorld& rvx) { rvx.Log().Fail("Command.get_Parameters", E_FAIL); },
            E_POINTER, "Delete failed: Append returned 0x80004003"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Members, AppendFailureStopsTheCallBeforeExecute) {
  rvx_.Log().Fail("Parameters.Append", E_FAIL, 0);
  manager_->Delete(Text(u"H").Get());
  EXPECT_EQ(CommandLog().back(), "Parameters.Append(res)");
}

TEST_F(Members, MembersRunInTheComponentsStateAndRestoreTheCallers) {
  const std::string before = ui::CurrentModuleState().AppName();
  manager_->Delete(Text(u"H").Get());
  EXPECT_EQ(ui::CurrentModuleState().AppName(), before);
}

struct OldestCase {
  const char* name;
  fakes::CommandScript script;
  HRESULT expected;
  const char16_t* handle;
  const char16_t* revisionName;
  const char16_t* remark;
};

fakes::CommandScript Oldest(com::Variant res, com::Variant handle, com::Variant name,
                            com::Variant remark) {
  fakes::CommandScript script;
  script.outputs[0] = std::move(res);
  script.outputs[2] = std::move(handle);
  script.outputs[3] = std::move(name);
  script.outputs[4] = std::move(remark);
  return script;
}

class GetOldestRevision : public Members, public ::testing::WithParamInterface<OldestCase> {};

TEST_P(GetOldestRevision, FillsOnlyTextOutputsWhenReported) {
  rvx_.ScriptCommand(GetParam().script);
  com::BStr handle(u"h0"), name(u"n0"), remark(u"r0");
  BSTR h = handle.Get(), n = name.Get(), r = remark.Get();
  EXPECT_EQ(manager_->GetOldestRevision(&h, &n, &r), GetParam().expected);
  auto check = [](BSTR out, BSTR original, const char16_t* expected) {
    EXPECT_EQ(std::u16string_view(out, SysStringLen(out)), expected);
    if (out != original) SysFreeString(out);
  };
  check(h, handle.Get(), GetParam().handle);
  check(n, name.Get(), GetParam().revisionName);
  check(r, remark.Get(), GetParam().remark);
  EXPECT_EQ(rvx_.Commands().at(0).text,
            "BEGIN :1 := WDB_REVISION_PKG.GET_OLDEST_REVISION(HEXTORAW(:2), :3, :4, :5); END;");
  const auto& p = rvx_.Commands().at(0).parameters;
  ASSERT_EQ(p.size(), 5u);
  EXPECT_EQ(p[2].name + p[3].name + p[4].name, "oldObjIdRevisionNameRevisionRemark");
  EXPECT_EQ(p[4].type * 10 + p[4].direction, 12);
  EXPECT_EQ(rvx_.Log().CountOf("Database.Commit"), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, GetOldestRevision,
    ::testing::Values(OldestCase{"reported", Oldest(std::int32_t{1}, u"OLD", u"Rev1", u"Rem"), S_OK,
                                 u"OLD", u"Rev1", u"Rem"},
                      OldestCase{"null_remark",
                                 Oldest(std::int32_t{1}, u"OLD", u"Rev1", com::kNull), S_OK, u"OLD",
                                 u"Rev1", u"r0"},
                      OldestCase{"not_reported", Oldest(std::int32_t{0}, u"OLD", u"Rev1", u"Rem"),
                                 S_OK, u"h0", u"n0", u"r0"},
                      OldestCase{"not_executed", {E_FAIL, {}}, S_FALSE, u"h0", u"n0", u"r0"},
                      OldestCase{"result_unreadable", Oldest(com::kNull, u"OLD", u"Rev1", u"Rem"),
                                 S_OK, u"h0", u"n0", u"r0"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Members, GetOldestRevisionNeverReadsPositionOne) {
  rvx_.ScriptCommand(Oldest(std::int32_t{1}, u"OLD", u"Rev1", u"Rem"));
  BSTR h = nullptr, n = nullptr, r = nullptr;
  manager_->GetOldestRevision(&h, &n, &r);
  EXPECT_THAT(rvx_.Log().EntriesStartingWith("Parameters.get_Item"),
              ElementsAre("Parameters.get_Item(VT_I4:0)", "Parameters.get_Item(VT_I4:2)",
                          "Parameters.get_Item(VT_I4:3)", "Parameters.get_Item(VT_I4:4)"));
  SysFreeString(h);
  SysFreeString(n);
  SysFreeString(r);
}

}  // namespace
