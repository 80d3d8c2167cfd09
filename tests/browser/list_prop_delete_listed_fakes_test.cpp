// Delete listed when the revision package does not answer: a row whose count cannot be had
// deletes nothing (and never borrows the previous row's count), and a row stops as soon as the
// oldest revision is not reported.
#include "platform/com/utf.h"
#include "tests/browser/list_prop_fixture.h"
#include "tests/fakes/fake_env.h"
#include "tests/fakes/fake_rvx.h"
#include "tests/fakes/fake_vnquery.h"

namespace page_test {
namespace {

using ::testing::ElementsAre;
using namespace browser;

fakes::FakeRow Row(const char16_t* handle, const char16_t* name) {
  fakes::FakeRow row;
  row.values = {com::Variant(handle),         com::Variant(name),
                com::Variant(u"m"),           com::Variant(u"r"),
                com::Variant(u"anna"),        com::Variant(),
                com::Variant(u"bjorn"),       com::Variant(),
                com::Variant(u"PW_PDB"),      com::Variant(std::int16_t{100}),
                com::Variant(std::int16_t{0})};
  return row;
}

fakes::CommandScript Answer(std::int32_t result, std::map<std::int32_t, com::Variant> more = {}) {
  fakes::CommandScript script;
  script.outputs = std::move(more);
  script.outputs[0] = com::Variant(result);
  return script;
}

fakes::CommandScript NotExecuted() {
  fakes::CommandScript script;
  script.execute = E_FAIL;
  return script;
}

class DeleteListedFakesTest : public PageTest {
 protected:
  void SetUp() override {
    PageTest::SetUp();
    env_.Env().SetVariable("_#INT#_PROJECT", u"P1");
    env_.Env().SetVariable("_#INT#_RVXPROJECT", u"1");
    env_.Env().SetProductMode(u"EXTENDED RVX");
    env_.Env().SetDatabase(com::ComPtr<IUnknown>(rvx_.DatabasePtr()->GetUnknown()));
    rvx_.AccessControl().Grant("mor.revisionmgmnt");
    // Shown as C, B, A.
    query_.Query().SetRows({Row(u"A0", u"A"), Row(u"B0", u"B"), Row(u"C0", u"C")});
  }

  // (procedure, handle) of every command run, in order.
  std::vector<std::string> Calls() {
    std::vector<std::string> calls;
    for (const fakes::CommandRecord& record : rvx_.Commands()) {
      std::string procedure = record.text.substr(record.text.find("PKG.") + 4);
      procedure = procedure.substr(0, procedure.find('('));
      std::string handle;
      for (const auto& parameter : record.parameters) {
        if (parameter.name == "ObjId" && parameter.value.Get().vt == VT_BSTR) {
          handle = com::ToUtf8(std::u16string_view(parameter.value.Get().bstrVal));
        }
      }
      calls.push_back(procedure + " " + handle);
    }
    return calls;
  }

  fakes::FakeEnvService env_;
  fakes::FakeRvxWorld rvx_;
  fakes::FakeVnQueryServer query_;
};

TEST_F(DeleteListedFakesTest, RowsWithoutCountOrOldestRevisionDeleteNothingMore) {
  // Row C: 3 revisions, keep 1: the first oldest is deleted, then none is reported: stop.
  rvx_.ScriptCommand(Answer(3));
  rvx_.ScriptCommand(Answer(1, {{2, com::Variant(u"C1")}}));
  rvx_.ScriptCommand(Answer(1));
  rvx_.ScriptCommand(Answer(0));
  // Row B: the count does not execute: nothing, not even with C's count.
  rvx_.ScriptCommand(NotExecuted());
  // Row A: 2 revisions: an oldest without a handle deletes nothing.
  rvx_.ScriptCommand(Answer(2));
  rvx_.ScriptCommand(Answer(1));
  Script()
      .Click(kIdList)
      .Tick(kIdKeepCheck, true)
      .Answer(os::MessageBoxAnswer::Yes)
      .Click(kIdDeleteListed)
      .CloseWithOk();
  RunSheet();
  EXPECT_THAT(Calls(),
              ElementsAre("GET_REVISION_COUNT C0", "GET_OLDEST_REVISION C0", "DELETE_REVISION C1",
                          "GET_OLDEST_REVISION C0", "GET_REVISION_COUNT B0",
                          "GET_REVISION_COUNT A0", "GET_OLDEST_REVISION A0"));
  // The list was made again afterwards.
  EXPECT_EQ(query_.Query().CountOf(fakes::VnQueryOp::Execute), 2);
}

TEST_F(DeleteListedFakesTest, AFailingDeleteEndsThatObjectAndTheNextRowGetsItsOwnCount) {
  rvx_.ScriptCommand(Answer(5));                              // C: 5 revisions, keep 2
  rvx_.ScriptCommand(Answer(1, {{2, com::Variant(u"C1")}}));  // oldest C1
  rvx_.ScriptCommand(Answer(0));                              // not deleted: stop C
  rvx_.ScriptCommand(Answer(2));                              // B: 2, keep 2: nothing
  rvx_.ScriptCommand(Answer(3));                              // A: 3, keep 2: one
  rvx_.ScriptCommand(Answer(1, {{2, com::Variant(u"A1")}}));
  rvx_.ScriptCommand(Answer(1));
  Script()
      .Click(kIdList)
      .Tick(kIdKeepCheck, true)
      .Type(kIdKeepCount, "2")
      .Answer(os::MessageBoxAnswer::Yes)
      .Click(kIdDeleteListed)
      .CloseWithOk();
  RunSheet();
  EXPECT_THAT(Calls(),
              ElementsAre("GET_REVISION_COUNT C0", "GET_OLDEST_REVISION C0", "DELETE_REVISION C1",
                          "GET_REVISION_COUNT B0", "GET_REVISION_COUNT A0",
                          "GET_OLDEST_REVISION A0", "DELETE_REVISION A1"));
}

}  // namespace
}  // namespace page_test
