#include "browser/listing_query.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/fakes/fake_vnquery.h"

namespace browser {
namespace {

using testing::ElementsAre;
using testing::ElementsAreArray;
using testing::IsEmpty;
using Kind = DateParseResult::Kind;

constexpr DATE k20040301At0800 = 38047.0 + 8.0 / 24;
constexpr DATE k20040501At1230 = 38108.0 + 12.5 / 24;

struct RowValues {
  std::u16string handle = u"00000000000000010000000000000001";
  std::u16string objectName = u"PANEL-1";
  std::u16string remark = u"checked";
  std::u16string revisionName = u"approved";
  std::u16string createdBy = u"anna";
  DATE created = k20040301At0800;
  std::u16string modifiedBy = u"bert";
  DATE modified = k20040501At1230;
  std::u16string databank = u"PW_OGDB";
  com::Variant type = std::int32_t{300};
  com::Variant subType = std::int32_t{150};
};

fakes::FakeRow MakeRow(const RowValues& v) {
  fakes::FakeRow row;
  row.values = {com::Variant(v.handle),
                com::Variant(v.objectName),
                com::Variant(v.remark),
                com::Variant(v.revisionName),
                com::Variant(v.createdBy),
                com::Variant(com::DateTag{v.created}),
                com::Variant(v.modifiedBy),
                com::Variant(com::DateTag{v.modified}),
                com::Variant(v.databank),
                v.type,
                v.subType};
  return row;
}

fakes::FakeRow MakeClassifiedRow(std::u16string databank, std::int32_t type, std::int32_t subType) {
  RowValues v;
  v.databank = std::move(databank);
  v.type = type;
  v.subType = subType;
  return MakeRow(v);
}

const std::vector<std::string> kSelects = {"AddSelect(1)",  "AddSelect(2)",  "AddSelect(9)",
                                           "AddSelect(8)",  "AddSelect(20)", "AddSelect(21)",
                                           "AddSelect(18)", "AddSelect(19)", "AddSelect(4)",
                                           "AddSelect(5)",  "AddSelect(6)"};
const std::vector<std::string> kReadRow = {
    "GetValue(0)", "GetValue(1)", "IsNull(3)",   "GetValue(2)", "IsNull(4)",
    "GetValue(3)", "GetValue(4)", "GetValue(5)", "GetValue(6)", "GetValue(7)",
    "GetValue(8)", "GetValue(9)", "GetValue(10)"};

std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

class ListingQueryTest : public testing::Test {
 protected:
  fakes::FakeVnQuery& Query() { return server_.Query(); }

  std::vector<std::string> ConditionsOf(const std::vector<std::string>& log) {
    std::vector<std::string> conditions;
    for (const std::string& call : log) {
      if (call.starts_with("AddCondition")) conditions.push_back(call);
    }
    return conditions;
  }

  // References held on the fake besides the server's own one.
  ULONG ForeignReferences() {
    Query().AddRef();
    return Query().Release() - 1;
  }

  fakes::FakeVnQueryServer server_;
};

TEST_F(ListingQueryTest, BuildsRunsAndReadsInTheFixedOrder) {
  Query().SetRows({MakeRow({}), MakeRow({})});
  const ListingOutcome outcome = RunListingQuery({"Plane panels", "P*", "2004-03-01 08:00:00", ""});

  const std::vector<std::string> conditions = {
      R"(AddCondition(2,2,VT_BSTR:"P%",VT_BSTR:""))",
      R"(AddCondition(8,1,VT_BSTR:"  ",VT_BSTR:""))",
      R"(AddCondition(4,0,VT_BSTR:"PW_OGDB",VT_BSTR:""))",
      "AddCondition(5,7,VT_I4:100,VT_I4:499)",
      "AddCondition(5,7,VT_I4:700,VT_I4:999)",
      "AddCondition(6,7,VT_I4:100,VT_I4:999)",
      R"(AddCondition(21,4,VT_DATE:38047.3333,VT_BSTR:""))"};
  EXPECT_THAT(Query().CallLog(), ElementsAreArray(Concat({kSelects,
                                                          conditions,
                                                          {"SetRowOption(-1)", "Execute()"},
                                                          {"IsEOF()"},
                                                          kReadRow,
                                                          {"MoveNext()", "IsEOF()"},
                                                          kReadRow,
                                                          {"MoveNext()", "IsEOF()"}})));
  EXPECT_TRUE(outcome.serverCreated);
  EXPECT_FALSE(outcome.executeFailed);
  EXPECT_EQ(outcome.modelTypeUsed, "Plane panels");
  EXPECT_EQ(outcome.rows.size(), 2u);
  EXPECT_EQ(ForeignReferences(), 0u);
}

TEST_F(ListingQueryTest, ReturnsTheRowsInDeliveryOrderWithTheirTexts) {
  RowValues first;
  RowValues second;
  second.handle = u"0000000000000002000000000000000A";
  second.objectName = u"PANEL-Ä";
  second.remark = u"";
  second.createdBy = u"carl";
  second.created = k20040301At0800 + 0.6 / 86400;
  Query().SetRows({MakeRow(first), MakeRow(second)});

  const ListingOutcome outcome = RunListingQuery({"Curved panels", "*", "", ""});

  ASSERT_EQ(outcome.rows.size(), 2u);
  EXPECT_EQ(outcome.rows[0],
            (RevisionRow{"00000000000000010000000000000001", "PANEL-1", "Curved panels", "approved",
                         "checked", "anna", "2004-03-01 08:00:00", "bert", "2004-05-01 12:30:00"}));
  EXPECT_EQ(outcome.rows[1],
            (RevisionRow{"0000000000000002000000000000000A", "PANEL-Ä", "Curved panels", "approved",
                         "", "carl", "2004-03-01 08:00:01", "bert", "2004-05-01 12:30:00"}));
}

TEST_F(ListingQueryTest, AnEntryOtherThanAllModelsNamesEveryRowAfterItself) {
  // The server's rows are taken as the entry's, whatever their databank says.
  Query().SetRows({MakeClassifiedRow(u"PW_PDB", 100, 0), MakeClassifiedRow(u"PW_PPDB", 1, 1)});
  const ListingOutcome outcome = RunListingQuery({"Drawings", "*", "", ""});
  ASSERT_EQ(outcome.rows.size(), 2u);
  EXPECT_EQ(outcome.rows[0].typeText, "Drawings");
  EXPECT_EQ(outcome.rows[1].typeText, "Drawings");
}

class ListingFallBackTest : public ListingQueryTest,
                            public testing::WithParamInterface<const char*> {};

TEST_P(ListingFallBackTest, ListsAllModelsAndClassifiesEveryRow) {
  Query().SetRows({MakeClassifiedRow(u"PW_OGDB", 499, 100), MakeClassifiedRow(u"PW_OGDB", 9, 22),
                   MakeClassifiedRow(u"PW_OGDB", 9, 30), MakeClassifiedRow(u"PW_OGDB", 600, 500),
                   MakeClassifiedRow(u"PW_PPDB", 306, 0), MakeClassifiedRow(u"PW_PDB", 100, 0),
                   MakeClassifiedRow(u"PW_PSDB", 450, 3), MakeClassifiedRow(u"XX_OTHER", 1, 1)});
  const ListingOutcome outcome = RunListingQuery({GetParam(), "*", "", ""});

  EXPECT_EQ(outcome.modelTypeUsed, "All models");
  EXPECT_THAT(ConditionsOf(Query().CallLog()),
              ElementsAre(R"(AddCondition(2,2,VT_BSTR:"%",VT_BSTR:""))",
                          R"(AddCondition(8,1,VT_BSTR:"  ",VT_BSTR:""))",
                          R"(AddCondition(4,1,VT_BSTR:"PW_MORVOLDB",VT_BSTR:""))"));
  std::vector<std::string> types;
  for (const RevisionRow& row : outcome.rows) types.push_back(row.typeText);
  EXPECT_THAT(types, ElementsAre("Plane panels", "Curved stiffeners", "Unknown", "Unknown",
                                 "Unknown", "Drawing", "Vent models", "Unknown"));
}

INSTANTIATE_TEST_SUITE_P(ModelTypeTexts, ListingFallBackTest,
                         testing::Values("Choose models", "plane panels", "All models", ""));

TEST_F(ListingQueryTest, ReadsCodesDeliveredAsSixteenOrThirtyTwoBitIntegers) {
  RowValues i2;
  i2.type = std::int16_t{499};
  i2.subType = std::int16_t{100};
  RowValues i4;  // 300 / 150 as VT_I4
  RowValues tooWide;
  tooWide.type = std::int32_t{65836};  // 300 + 65536: no 16-bit code
  RowValues missing;
  missing.type = com::Variant();
  Query().SetRows({MakeRow(i2), MakeRow(i4), MakeRow(tooWide), MakeRow(missing)});

  const ListingOutcome outcome = RunListingQuery({"All models", "*", "", ""});

  ASSERT_EQ(outcome.rows.size(), 4u);
  EXPECT_EQ(outcome.rows[0].typeText, "Plane panels");
  EXPECT_EQ(outcome.rows[1].typeText, "Plane panels");
  EXPECT_EQ(outcome.rows[2].typeText, "Unknown");
  EXPECT_EQ(outcome.rows[3].typeText, "Unknown");
}

TEST_F(ListingQueryTest, NullRemarkAndRevisionNameAreEmptyAndNotRead) {
  fakes::FakeRow nullRemark = MakeRow({});
  nullRemark.nullColumns = {3};
  fakes::FakeRow nullName = MakeRow({});
  nullName.nullColumns = {4};
  Query().SetRows({nullRemark, nullName});

  const ListingOutcome outcome = RunListingQuery({"Plane panels", "*", "", ""});

  ASSERT_EQ(outcome.rows.size(), 2u);
  EXPECT_EQ(outcome.rows[0].remark, "");
  EXPECT_EQ(outcome.rows[0].revisionName, "approved");
  EXPECT_EQ(outcome.rows[1].remark, "checked");
  EXPECT_EQ(outcome.rows[1].revisionName, "");
  EXPECT_EQ(Query().CountOf(fakes::VnQueryOp::GetValue), 2 * 11 - 2);
}

TEST_F(ListingQueryTest, ValuesThatAreNoDateOrNoValidTextShowAsBestTheyCan) {
  fakes::FakeRow row = MakeRow({});
  row.values[5] = com::Variant(com::kNull);
  row.values[7] = com::Variant(u"2004-01-01 00:00:00");
  const char16_t unpaired[] = {u'A', char16_t(0xD800), u'B', 0};
  row.values[1] = com::Variant(unpaired);
  Query().SetRows({row});

  const ListingOutcome outcome = RunListingQuery({"Plane panels", "*", "", ""});

  ASSERT_EQ(outcome.rows.size(), 1u);
  EXPECT_EQ(outcome.rows[0].creationDate, "");
  EXPECT_EQ(outcome.rows[0].modifiedDate, "");
  EXPECT_EQ(outcome.rows[0].objectName,
            "A\xEF\xBF\xBD"
            "B");
}

TEST_F(ListingQueryTest, NoMatchingRowsGiveAnEmptySuccessfulOutcome) {
  const ListingOutcome outcome = RunListingQuery({"Equipments", "NONE", "", ""});
  EXPECT_FALSE(outcome.executeFailed);
  EXPECT_THAT(outcome.rows, IsEmpty());
  const auto log = Query().CallLog();
  EXPECT_THAT(std::vector<std::string>(log.end() - 3, log.end()),
              ElementsAre("SetRowOption(-1)", "Execute()", "IsEOF()"));
}

TEST_F(ListingQueryTest, AFailedExecuteEndsTheRunWithoutRows) {
  Query().SetRows({MakeRow({})});
  Query().Fail(fakes::VnQueryOp::Execute, E_FAIL);

  const ListingOutcome outcome = RunListingQuery({"Choose models", "*", "2004-3-1", ""});

  EXPECT_TRUE(outcome.serverCreated);
  EXPECT_TRUE(outcome.executeFailed);
  EXPECT_THAT(outcome.rows, IsEmpty());
  // The fall-back and the date check still took place before the run.
  EXPECT_EQ(outcome.modelTypeUsed, "All models");
  EXPECT_EQ(outcome.createdAfter.kind, Kind::Malformed);
  EXPECT_EQ(Query().CallLog().back(), "Execute()");
  EXPECT_EQ(ForeignReferences(), 0u);
}

TEST_F(ListingQueryTest, ACreationFailureDoesNothingElse) {
  server_.FailCreation(E_OUTOFMEMORY);

  const ListingOutcome outcome = RunListingQuery({"Choose models", "*", "2004-3-1", "x"});

  EXPECT_EQ(server_.CreationRequests(), 1);
  EXPECT_FALSE(outcome.serverCreated);
  EXPECT_FALSE(outcome.executeFailed);
  EXPECT_EQ(outcome.modelTypeUsed, "");
  EXPECT_EQ(outcome.createdAfter.kind, Kind::Empty);
  EXPECT_EQ(outcome.createdBefore.kind, Kind::Empty);
  EXPECT_THAT(outcome.rows, IsEmpty());
  EXPECT_THAT(Query().Calls(), IsEmpty());
}

TEST(ListingQueryWithoutServerTest, AnUnknownProgIdIsACreationFailure) {
  // In-process server registrations last for the process; ctest gives each case its own.
  CLSID known;
  if (SUCCEEDED(CLSIDFromProgID(u"VnQuerySrv.VNQuery", &known))) {
    GTEST_SKIP() << "an earlier case in this process registered the query server";
  }
  const ListingOutcome outcome = RunListingQuery({"All models", "*", "", ""});
  EXPECT_FALSE(outcome.serverCreated);
}

struct DateRequestCase {
  const char* after;
  const char* before;
  Kind afterKind;
  Kind beforeKind;
  const char* dateCondition;  // empty: none
};

std::ostream& operator<<(std::ostream& out, const DateRequestCase& c) {
  return out << '"' << c.after << "\" / \"" << c.before << '"';
}

class ListingDateTest : public ListingQueryTest,
                        public testing::WithParamInterface<DateRequestCase> {};

TEST_P(ListingDateTest, OnlyValidTextsBecomeBounds) {
  const DateRequestCase& c = GetParam();
  const ListingOutcome outcome = RunListingQuery({"Equipments", "*", c.after, c.before});
  EXPECT_EQ(outcome.createdAfter.kind, c.afterKind);
  EXPECT_EQ(outcome.createdBefore.kind, c.beforeKind);
  std::vector<std::string> dateConditions;
  for (const std::string& condition : ConditionsOf(Query().CallLog())) {
    if (condition.starts_with("AddCondition(21,")) dateConditions.push_back(condition);
  }
  if (*c.dateCondition) {
    EXPECT_THAT(dateConditions, ElementsAre(c.dateCondition));
  } else {
    EXPECT_THAT(dateConditions, IsEmpty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ListingDateTest,
    testing::Values(DateRequestCase{"", "", Kind::Empty, Kind::Empty, ""},
                    DateRequestCase{"2004-03-01 08:00:00", "", Kind::Valid, Kind::Empty,
                                    R"(AddCondition(21,4,VT_DATE:38047.3333,VT_BSTR:""))"},
                    DateRequestCase{"", "2004-05-01 12:30:00", Kind::Empty, Kind::Valid,
                                    R"(AddCondition(21,3,VT_DATE:38108.5208,VT_BSTR:""))"},
                    DateRequestCase{"2004-03-01 08:00:00", "2004-05-01 12:30:00", Kind::Valid,
                                    Kind::Valid,
                                    "AddCondition(21,7,VT_DATE:38047.3333,VT_DATE:38108.5208)"},
                    DateRequestCase{"2004-3-1", "2004-05-01 12:30:00", Kind::Malformed, Kind::Valid,
                                    R"(AddCondition(21,3,VT_DATE:38108.5208,VT_BSTR:""))"},
                    DateRequestCase{"1969-12-31 23:59:59", "2004-13-01 00:00:00", Kind::Rejected,
                                    Kind::Rejected, ""},
                    DateRequestCase{"2004/03/01 08.00.00", "2004-3-1", Kind::Valid, Kind::Malformed,
                                    R"(AddCondition(21,4,VT_DATE:38047.3333,VT_BSTR:""))"}));

TEST_F(ListingQueryTest, AServerThatCannotTellTheEndListsNothing) {
  Query().SetRows({MakeRow({})});
  Query().Fail(fakes::VnQueryOp::IsEOF, E_FAIL);
  const ListingOutcome outcome = RunListingQuery({"Equipments", "*", "", ""});
  EXPECT_FALSE(outcome.executeFailed);
  EXPECT_THAT(outcome.rows, IsEmpty());
}

TEST_F(ListingQueryTest, AServerThatCannotMoveOnStopsTheReading) {
  Query().SetRows({MakeRow({}), MakeRow({}), MakeRow({})});
  Query().Fail(fakes::VnQueryOp::MoveNext, E_FAIL, 1);
  const ListingOutcome outcome = RunListingQuery({"Equipments", "*", "", ""});
  EXPECT_EQ(outcome.rows.size(), 2u);
  EXPECT_EQ(Query().CallLog().back(), "MoveNext()");
}

TEST_F(ListingQueryTest, EachRunUsesAndReleasesItsOwnServerObject) {
  RunListingQuery({"Equipments", "*", "", ""});
  RunListingQuery({"Equipments", "*", "", ""});
  EXPECT_EQ(server_.CreationRequests(), 2);
  EXPECT_EQ(Query().CountOf(fakes::VnQueryOp::Execute), 2);
  EXPECT_EQ(ForeignReferences(), 0u);
}

}  // namespace
}  // namespace browser
