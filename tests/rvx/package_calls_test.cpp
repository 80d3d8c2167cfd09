// The revision package blocks run through the command object against a real store.
#include <gtest/gtest.h>

#include "tests/rvx/rvx_fixture.h"

namespace rvx_test {
namespace {

using PackageCalls = RvxFixture;

std::int32_t Number(const com::Variant& v) {
  EXPECT_EQ(v.Type(), VT_I4);
  return v.Type() == VT_I4 ? v.Get().lVal : -999;
}

std::u16string Text(const com::Variant& v) {
  EXPECT_EQ(v.Type(), VT_BSTR);
  return std::u16string(v.TextView());
}

TEST_F(PackageCalls, RevisionCountNamesTheObjectByTheFirstHalfOfTheHandle) {
  EXPECT_EQ(Number(RunWithHandle(kCount, a1_).values[0]), 3);
  EXPECT_EQ(Number(RunWithHandle(kCount, a3_).values[0]), 3);
  EXPECT_EQ(Number(RunWithHandle(kCount, b1_).values[0]), 1);
  // The object part stays valid after its revision is gone; lower case is read as HEXTORAW does.
  std::string lower = a2_;
  for (char& c : lower) c = static_cast<char>(std::tolower(c));
  EXPECT_EQ(Number(RunWithHandle(kCount, lower).values[0]), 3);
  EXPECT_EQ(Number(RunWithHandle(kCount, "FFFFFFFFFFFFFFFF0000000000000001").values[0]), 0);
}

TEST_F(PackageCalls, DeleteReportsWhetherARevisionWentAway) {
  Outcome first = RunWithHandle(kDelete, a1_);
  ASSERT_EQ(first.hr, S_OK);
  EXPECT_EQ(Number(first.values[0]), 1);
  EXPECT_EQ(Number(RunWithHandle(kCount, a1_).values[0]), 2);

  struct Case {
    const char* what;
    std::string handle;
  };
  const Case notDeleted[] = {
      {"already deleted", a1_},
      {"latest revision of its object", a3_},
      {"only revision of its object", b1_},
      {"unknown object", "00000000000000AA00000000000000BB"},
  };
  for (const Case& c : notDeleted) {
    Outcome outcome = RunWithHandle(kDelete, c.handle);
    EXPECT_EQ(outcome.hr, S_OK) << c.what;
    EXPECT_EQ(Number(outcome.values[0]), 0) << c.what;
  }
  EXPECT_EQ(Number(RunWithHandle(kCount, a1_).values[0]), 2);
  EXPECT_EQ(Number(RunWithHandle(kCount, b1_).values[0]), 1);
}

TEST_F(PackageCalls, MalformedHandlesDoNotExecute) {
  const com::Variant handles[] = {
      com::Variant(u""),
      com::Variant(com::kNull),
      com::Variant(),
      com::Variant(u"0123456789ABCDEF0123456789ABCDE"),    // 31 digits
      com::Variant(u"0123456789ABCDEF0123456789ABCDEF0"),  // 33 digits
      com::Variant(u"0123456789ABCDEF0123456789ABCDEG"),
      com::Variant(u" 123456789ABCDEF0123456789ABCDEF"),
  };
  for (const char16_t* text : {kDelete, kCount}) {
    for (const com::Variant& handle : handles) {
      Outcome outcome = Run(text, {Res(), TextIn(u"ObjId", handle)});
      EXPECT_LT(outcome.hr, 0) << com::ToUtf8(text) << " with \"" << handle.TextUtf8() << "\"";
      EXPECT_EQ(outcome.values[0].Type(), VT_EMPTY) << "no result for a call that did not run";
    }
  }
  Outcome oldest =
      Run(kOldest, {Res(), TextIn(u"ObjId", com::Variant(u"XYZ")), TextOut(u"oldObjId"),
                    TextOut(u"RevisionName"), TextOut(u"RevisionRemark")});
  EXPECT_LT(oldest.hr, 0);
  Outcome update = Run(kUpdateName, {Res(), TextIn(u"ObjId", com::Variant(u"XYZ")),
                                     TextIn(u"RevisionName", com::Variant(u"N"))});
  EXPECT_LT(update.hr, 0);
}

std::vector<Param> OldestParams(const std::string& handle) {
  return {Res(), TextIn(u"ObjId", com::Variant(std::u16string_view(Wide(handle)))),
          TextOut(u"oldObjId"), TextOut(u"RevisionName"), TextOut(u"RevisionRemark")};
}

TEST_F(PackageCalls, OldestRevisionGivesHandleNameAndRemarkWithNullsWhereUnset) {
  Outcome outcome = Run(kOldest, OldestParams(a3_));
  ASSERT_EQ(outcome.hr, S_OK);
  EXPECT_EQ(Number(outcome.values[0]), 1);
  EXPECT_EQ(Text(outcome.values[2]), Wide(a1_));
  EXPECT_EQ(Text(outcome.values[3]), u"R1");
  EXPECT_EQ(Text(outcome.values[4]), u"first");

  ASSERT_EQ(Number(RunWithHandle(kDelete, a1_).values[0]), 1);
  outcome = Run(kOldest, OldestParams(a3_));
  ASSERT_EQ(outcome.hr, S_OK);
  EXPECT_EQ(Number(outcome.values[0]), 1);
  EXPECT_EQ(Text(outcome.values[2]), Wide(a2_));
  EXPECT_EQ(Text(outcome.values[3]), u"R2");
  EXPECT_EQ(outcome.values[4].Type(), VT_NULL);
  // The input position reads back as it was bound.
  EXPECT_EQ(Text(outcome.values[1]), Wide(a3_));
}

TEST_F(PackageCalls, OldestRevisionOfAnObjectWithoutRevisionsIsZero) {
  Outcome outcome = Run(kOldest, OldestParams("00000000000000AA00000000000000BB"));
  ASSERT_EQ(outcome.hr, S_OK);
  EXPECT_EQ(Number(outcome.values[0]), 0);
  for (int i = 2; i < 5; ++i) EXPECT_NE(outcome.values[i].Type(), VT_BSTR) << i;
}

std::vector<Param> IsLatestParams(com::Variant object, com::Variant revision, com::Variant dbc) {
  return {Res(), TextIn(u"ObjName", std::move(object)), TextIn(u"RevName", std::move(revision)),
          NumberIn(u"dbc", std::move(dbc))};
}

TEST_F(PackageCalls, IsLatestComparesWithTheNewestRevisionName) {
  struct Case {
    const char* what;
    com::Variant object, revision, dbc;
    std::int32_t expected;
  };
  const Case cases[] = {
      {"older revision name", com::Variant(u"PANEL-A"), com::Variant(u"R2"),
       com::Variant(std::int32_t{kDatabank}), 0},
      {"null equals the unnamed latest", com::Variant(u"PANEL-A"), com::Variant(com::kNull),
       com::Variant(std::int32_t{kDatabank}), 1},
      {"empty text is null too", com::Variant(u"PANEL-A"), com::Variant(u""),
       com::Variant(std::int32_t{kDatabank}), 1},
      {"named latest", com::Variant(u"PANEL-B"), com::Variant(u"B1"),
       com::Variant(std::int32_t{kDatabank}), 1},
      {"null differs from a name", com::Variant(u"PANEL-B"), com::Variant(com::kNull),
       com::Variant(std::int32_t{kDatabank}), 0},
      {"databank code as a 16-bit number", com::Variant(u"PANEL-B"), com::Variant(u"B1"),
       com::Variant(std::int16_t{kDatabank}), 1},
  };
  for (const Case& c : cases) {
    Outcome outcome = Run(kIsLatest, IsLatestParams(c.object, c.revision, c.dbc));
    ASSERT_EQ(outcome.hr, S_OK) << c.what;
    EXPECT_EQ(Number(outcome.values[0]), c.expected) << c.what;
  }
}

TEST_F(PackageCalls, IsLatestOfAnUnknownObjectDoesNotExecute) {
  const std::vector<Param> unknown[] = {
      IsLatestParams(com::Variant(u"NO-SUCH"), com::Variant(u"R1"),
                     com::Variant(std::int32_t{kDatabank})),
      IsLatestParams(com::Variant(u"PANEL-A"), com::Variant(u"R1"), com::Variant(std::int32_t{99})),
      IsLatestParams(com::Variant(), com::Variant(), com::Variant()),
  };
  for (const auto& params : unknown) {
    EXPECT_LT(Run(kIsLatest, params).hr, 0);
  }
}

struct RevisionState {
  std::optional<std::string> name, remark;
  std::string modifiedBy;
};

TEST_F(PackageCalls, EachUpdateFormChangesExactlyWhatItNames) {
  struct Case {
    const char* what;
    const char16_t* text;
    std::vector<Param> further;
    std::optional<std::string> name, remark;
  };
  const Case cases[] = {
      {"name and remark",
       kUpdateBoth,
       {TextIn(u"RevisionName", com::Variant(u"NEW")),
        TextIn(u"RevisionRemark", com::Variant(u"new remark"))},
       "NEW",
       "new remark"},
      {"name only", kUpdateName, {TextIn(u"RevisionName", com::Variant(u"NEW"))}, "NEW", "first"},
      {"remark only",
       kUpdateRemark,
       {TextIn(u"RevisionRemark", com::Variant(u"new remark"))},
       "R1",
       "new remark"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    OpenDatabase();  // the previous case is rolled back
    std::vector<Param> params = {Res(),
                                 TextIn(u"ObjId", com::Variant(std::u16string_view(Wide(a1_))))};
    params.insert(params.end(), c.further.begin(), c.further.end());
    Outcome outcome = Run(c.text, params);
    ASSERT_EQ(outcome.hr, S_OK);
    EXPECT_EQ(Number(outcome.values[0]), 1);
    ASSERT_EQ(database_->Commit(), S_OK);

    auto second = SecondConnection();
    auto changed = second->FindRevision(store::ParseHandleOrThrow(a1_));
    ASSERT_TRUE(changed);
    EXPECT_EQ(changed->name, c.name);
    EXPECT_EQ(changed->remark, c.remark);
    EXPECT_EQ(changed->modifiedBy, rvx::CurrentUserName());
    auto untouched = second->FindRevision(store::ParseHandleOrThrow(a2_));
    ASSERT_TRUE(untouched);
    EXPECT_EQ(untouched->name, std::optional<std::string>("R2"));
    EXPECT_EQ(untouched->modifiedBy, "anna");

    auto audit = second->AuditTrail(a1_);
    ASSERT_FALSE(audit.empty());
    EXPECT_EQ(audit.back().action, "UPDATE_REVISION_INFO");
    EXPECT_EQ(audit.back().user, rvx::CurrentUserName());

    // Put the revision back for the next case.
    second->Begin();
    second->UpdateRevisionInfo(a1_, "R1", "first", "anna");
    second->Commit();
  }
}

TEST_F(PackageCalls, UpdateOfTheLatestOrAnUnknownRevisionDoesNotExecute) {
  for (const std::string& handle : {a3_, b1_, std::string("00000000000000AA00000000000000BB")}) {
    Outcome outcome =
        Run(kUpdateName, {Res(), TextIn(u"ObjId", com::Variant(std::u16string_view(Wide(handle)))),
                          TextIn(u"RevisionName", com::Variant(u"X"))});
    EXPECT_LT(outcome.hr, 0) << handle;
  }
  ASSERT_EQ(database_->Commit(), S_OK);
  auto second = SecondConnection();
  EXPECT_FALSE(second->FindRevision(store::ParseHandleOrThrow(a3_))->name.has_value());
  EXPECT_EQ(second->FindRevision(store::ParseHandleOrThrow(b1_))->name, "B1");
  EXPECT_TRUE(second->AuditTrailAll().empty());
}

}  // namespace
}  // namespace rvx_test
