// Commands that must not run, and the error information they leave.
#include <gtest/gtest.h>

#include "platform/com/object.h"
#include "tests/rvx/rvx_fixture.h"

namespace rvx_test {
namespace {

using CommandFailures = RvxFixture;

std::vector<Param> DeleteParams(const std::string& handle) {
  return {Res(), TextIn(u"ObjId", com::Variant(std::u16string_view(Wide(handle))))};
}

TEST_F(CommandFailures, OnlyTheExactBlockTextsRun) {
  const std::u16string texts[] = {
      u"",
      u"BEGIN :1 := WDB_REVISION_PKG.DELETE_REVISION(HEXTORAW(:2)); END; ",
      u" BEGIN :1 := WDB_REVISION_PKG.DELETE_REVISION(HEXTORAW(:2)); END;",
      u"begin :1 := wdb_revision_pkg.delete_revision(hextoraw(:2)); end;",
      u"BEGIN :1 := WDB_REVISION_PKG.DELETE_REVISION(:2); END;",
      u"DELETE FROM revisions",
  };
  for (const std::u16string& text : texts) {
    Outcome outcome = Run(text, DeleteParams(a1_));
    EXPECT_LT(outcome.hr, 0) << com::ToUtf8(text);
    ErrorText error = TakeErrorInfo();
    EXPECT_TRUE(error.present);
    EXPECT_EQ(error.source, u"RvxServer.Command");
    EXPECT_NE(error.description.find(u"command text"), std::u16string::npos);
  }
  EXPECT_EQ(RunWithHandle(kCount, a1_).values[0].Get().lVal, 3) << "nothing was deleted";
}

TEST_F(CommandFailures, ACommandWithoutProjectDoesNotRun) {
  Outcome withNull = RunBlock(nullptr, kDelete, DeleteParams(a1_));
  EXPECT_LT(withNull.hr, 0);
  EXPECT_NE(TakeErrorInfo().description.find(u"no project"), std::u16string::npos);

  // SetProject never called.
  com::ComPtr<IRvxCommand> command;
  ASSERT_EQ(com::CreateRunning(CLSID_RvxCommand, &command), S_OK);
  com::BStr text(kCount);
  command->put_CommandText(text.Get());
  EXPECT_LT(command->Execute(0), 0);

  // Taken away again with null.
  ASSERT_EQ(command->SetProject(project_.Get()), S_OK);
  ASSERT_EQ(command->SetProject(nullptr), S_OK);
  EXPECT_LT(command->Execute(0), 0);
}

TEST_F(CommandFailures, ParametersThatDoNotFitTheBlockStopIt) {
  const com::Variant handle(std::u16string_view(Wide(a1_)));
  struct Case {
    const char* what;
    std::vector<Param> params;
  };
  const Case cases[] = {
      {"no parameters", {}},
      {"result missing", {TextIn(u"ObjId", handle)}},
      {"one too many", {Res(), TextIn(u"ObjId", handle), TextIn(u"extra", handle)}},
      {"result as input",
       {{u"res", kRvxTypeNumber, kRvxDirectionInput, com::Variant()}, TextIn(u"ObjId", handle)}},
      {"result as text",
       {{u"res", kRvxTypeText, kRvxDirectionOutput, com::Variant()}, TextIn(u"ObjId", handle)}},
      {"handle as output", {Res(), TextOut(u"ObjId")}},
      {"handle as number", {Res(), NumberIn(u"ObjId", handle)}},
  };
  for (const Case& c : cases) {
    Outcome outcome = Run(kDelete, c.params);
    EXPECT_LT(outcome.hr, 0) << c.what;
    ErrorText error = TakeErrorInfo();
    EXPECT_TRUE(error.present) << c.what;
    EXPECT_FALSE(error.description.empty()) << c.what;
  }
  EXPECT_EQ(RunWithHandle(kCount, a1_).values[0].Get().lVal, 3) << "nothing was deleted";
}

TEST_F(CommandFailures, FailingCallsLeaveErrorInformationTheObjectVouchesFor) {
  com::ComPtr<IRvxCommand> command;
  ASSERT_EQ(com::CreateRunning(CLSID_RvxCommand, &command), S_OK);
  auto support = command.Query<ISupportErrorInfo>();
  ASSERT_TRUE(support);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(IRvxCommand::IID_), S_OK);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(IRvxServer::IID_), S_FALSE);

  Outcome outcome = Run(kIsLatest, {Res(), TextIn(u"ObjName", com::Variant(u"NO-SUCH")),
                                    TextIn(u"RevName", com::Variant(u"R1")),
                                    NumberIn(u"dbc", com::Variant(std::int32_t{kDatabank}))});
  ASSERT_LT(outcome.hr, 0);
  ErrorText error = TakeErrorInfo();
  EXPECT_TRUE(error.present);
  EXPECT_EQ(error.source, u"RvxServer.Command");
  EXPECT_NE(error.description.find(u"NO-SUCH"), std::u16string::npos);

  outcome = RunWithHandle(kCount, "not a handle");
  ASSERT_LT(outcome.hr, 0);
  error = TakeErrorInfo();
  EXPECT_TRUE(error.present);
  EXPECT_FALSE(error.description.empty());
}

// A parameter object that no command of the server made.
class ForeignParameter : public com::Implements<IRvxParameter> {
 public:
  HRESULT get_Value(VARIANT* value) override {
    VariantInit(value);
    return S_OK;
  }
};

TEST_F(CommandFailures, TheParametersCollectionRefusesWhatItCannotBind) {
  com::ComPtr<IRvxCommand> command;
  ASSERT_EQ(com::CreateRunning(CLSID_RvxCommand, &command), S_OK);
  com::ComPtr<IRvxParameters> parameters;
  ASSERT_EQ(command->get_Parameters(&parameters), S_OK);
  auto support = parameters.Query<ISupportErrorInfo>();
  ASSERT_TRUE(support);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(IRvxParameters::IID_), S_OK);

  EXPECT_LT(parameters->Append(nullptr), 0);
  EXPECT_TRUE(TakeErrorInfo().present);
  com::ComPtr<ForeignParameter> foreign;
  ASSERT_EQ(com::Object<ForeignParameter>::Create(&foreign), S_OK);
  EXPECT_LT(parameters->Append(foreign.Get()), 0);
  EXPECT_EQ(TakeErrorInfo().source, u"RvxServer.Parameters");

  com::ComPtr<IRvxParameter> item;
  EXPECT_LT(parameters->get_Item(com::Variant(std::int32_t{0}).Get(), &item), 0);
  EXPECT_FALSE(item);

  com::BStr name(u"res");
  com::ComPtr<IRvxParameter> created;
  EXPECT_LT(
      command->CreateParameter(name.Get(), 3, kRvxDirectionOutput, com::Variant().Get(), &created),
      0);
  EXPECT_LT(command->CreateParameter(name.Get(), kRvxTypeNumber, 0, com::Variant().Get(), &created),
            0);
  ASSERT_EQ(command->CreateParameter(name.Get(), kRvxTypeNumber, kRvxDirectionOutput,
                                     com::Variant().Get(), &created),
            S_OK);
  ASSERT_EQ(parameters->Append(created.Get()), S_OK);
  // Positions come as any integer variant; past the end is refused.
  EXPECT_EQ(parameters->get_Item(com::Variant(std::int16_t{0}).Get(), &item), S_OK);
  EXPECT_TRUE(item);
  EXPECT_LT(parameters->get_Item(com::Variant(std::int32_t{1}).Get(), &item), 0);
  EXPECT_LT(parameters->get_Item(com::Variant(std::int32_t{-1}).Get(), &item), 0);
}

TEST_F(CommandFailures, ACommandCanRunAgainWithFreshResults) {
  com::ComPtr<IRvxCommand> command;
  ASSERT_EQ(com::CreateRunning(CLSID_RvxCommand, &command), S_OK);
  command->SetProject(project_.Get());
  com::ComPtr<IRvxParameters> parameters;
  command->get_Parameters(&parameters);
  com::BStr res(u"res"), objId(u"ObjId");
  com::ComPtr<IRvxParameter> result, handle;
  command->CreateParameter(res.Get(), kRvxTypeNumber, kRvxDirectionOutput, com::Variant().Get(),
                           &result);
  command->CreateParameter(objId.Get(), kRvxTypeText, kRvxDirectionInput,
                           com::Variant(std::u16string_view(Wide(a1_))).Get(), &handle);
  parameters->Append(result.Get());
  parameters->Append(handle.Get());
  com::BStr text(kDelete);
  command->put_CommandText(text.Get());

  com::Variant value;
  ASSERT_EQ(command->Execute(0), S_OK);
  result->get_Value(value.Out());
  EXPECT_EQ(value.Get().lVal, 1);
  ASSERT_EQ(command->Execute(0), S_OK);
  result->get_Value(value.Out());
  EXPECT_EQ(value.Get().lVal, 0) << "the revision is gone by the second run";
}

}  // namespace
}  // namespace rvx_test
