// The query server's operators, condition grouping and value handling on a handful of rows.
#include <gtest/gtest.h>

#include "platform/com/date.h"
#include "platform/com/error_info.h"
#include "small_project.h"

namespace vnquery_test {
namespace {

enum Attr : std::int32_t {
  kHandle = 1,
  kObjectName = 2,
  kDbc = 3,
  kDatabank = 4,
  kType = 5,
  kSubType = 6,
  kRevisionName = 8,
  kRemark = 9,
  kModifiedBy = 18,
  kModifiedDate = 19,
  kCreatedBy = 20,
  kCreationDate = 21,
};
enum Op : std::int32_t {
  kEqual = 0,
  kNotEqual = 1,
  kLike = 2,
  kLess = 3,
  kGreater = 4,
  kBetween = 7
};

using Operators = SmallProject;

struct TextCase {
  const char* what;
  std::vector<Cond> conditions;
  std::vector<std::string> handlesByIndex;  // indexes into handles_ as text "0".."5"
};

// Revision indexes of the rows a query lists, by the fixture's order of adding.
std::vector<int> Indexes(const QueryResult& result, const std::vector<std::string>& handles) {
  std::vector<int> indexes;
  for (const std::string& handle : Texts(result, 0)) {
    auto it = std::find(handles.begin(), handles.end(), handle);
    indexes.push_back(it == handles.end() ? -1 : static_cast<int>(it - handles.begin()));
  }
  return indexes;
}

TEST_F(Operators, EachOperatorListsExactlyItsRows) {
  struct Case {
    const char* what;
    std::vector<Cond> conditions;
    std::vector<int> expected;
  };
  const std::vector<Case> cases = {
      {"no condition", {}, {0, 1, 2, 3, 4, 5}},
      {"Equal text is exact", {{kObjectName, kEqual, Text("B204-PLP-001")}}, {0, 1, 2}},
      {"Equal text is case-sensitive", {{kObjectName, kEqual, Text("b204-PLP-001")}}, {}},
      {"Equal does not treat _ as a wildcard", {{kObjectName, kEqual, Text("B204_PLP_001")}}, {}},
      {"NotEqual keeps nulls", {{kRevisionName, kNotEqual, Text("  ")}}, {0, 1, 3, 4, 5}},
      {"NotEqual text", {{kRevisionName, kNotEqual, Text("A")}}, {1, 2, 3, 5}},
      {"Like with %", {{kObjectName, kLike, Text("B204%")}}, {0, 1, 2}},
      {"Like is case-sensitive", {{kObjectName, kLike, Text("%plp%")}}, {3}},
      {"Like _ is one character", {{kObjectName, kLike, Text("B204-PLP-00_")}}, {0, 1, 2}},
      {"Like _ is not zero characters", {{kObjectName, kLike, Text("B204-PLP-001_")}}, {}},
      {"Like % alone", {{kObjectName, kLike, Text("%")}}, {0, 1, 2, 3, 4, 5}},
      {"Like on a remark with a literal % in it", {{kRemark, kLike, Text("%50%")}}, {4}},
      {"Equal integer", {{kType, kEqual, Int(305)}}, {4}},
      {"Equal 16-bit integer", {{kType, kEqual, com::Variant(std::int16_t{305})}}, {4}},
      {"Less is strict", {{kType, kLess, Int(305)}}, {0, 1, 2, 5}},
      {"Greater is strict", {{kType, kGreater, Int(305)}}, {3}},
      {"Between includes both bounds", {{kType, kBetween, Int(100), Int(499)}}, {0, 1, 2, 3, 4}},
      {"Between a single value", {{kType, kBetween, Int(499), Int(499)}}, {3}},
      {"Between reversed bounds is empty", {{kType, kBetween, Int(499), Int(100)}}, {}},
      {"Equal null", {{kRevisionName, kEqual, com::Variant(com::kNull)}}, {1}},
      {"NotEqual null", {{kRemark, kNotEqual, com::Variant(com::kNull)}}, {0, 2, 4}},
      {"Databank code", {{kDbc, kEqual, Int(12)}}, {4}},
      {"Two conditions on one attribute are alternatives",
       {{kType, kEqual, Int(100)}, {kType, kEqual, Int(305)}},
       {0, 1, 2, 4}},
      {"Conditions on different attributes all hold",
       {{kType, kEqual, Int(100)}, {kType, kEqual, Int(305)}, {kDatabank, kEqual, Text("PW_PPDB")}},
       {4}},
      {"Alternatives are grouped wherever they stand",
       {{kType, kBetween, Int(100), Int(100)},
        {kDatabank, kEqual, Text("PW_OGDB")},
        {kType, kBetween, Int(400), Int(499)},
        {kSubType, kBetween, Int(100), Int(999)}},
       {0, 1, 2, 3}},
      {"Created by", {{kCreatedBy, kEqual, Text("anna")}, {kModifiedBy, kEqual, Text("bob")}}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QueryResult result = RunQuery({kHandle}, c.conditions);
    EXPECT_EQ(result.addResult, S_OK);
    EXPECT_EQ(result.executeResult, S_OK);
    EXPECT_EQ(Indexes(result, handles_), c.expected);
  }
}

TEST_F(Operators, HandleLookupFindsOneRevisionWithItsObject) {
  // The rename lookup: attributes 1, 2, 8 and 3, one condition on the handle.
  QueryResult result = RunQuery({kHandle, kObjectName, kRevisionName, kDbc},
                                {{kHandle, kEqual, Text(handles_[4].c_str())}});
  ASSERT_EQ(result.executeResult, S_OK);
  ASSERT_EQ(result.rows.size(), 1u);
  EXPECT_EQ(result.rows[0][0].TextUtf8(), handles_[4]);
  EXPECT_EQ(result.rows[0][1].TextUtf8(), "ES122-PP-0042");
  EXPECT_EQ(result.rows[0][2].TextUtf8(), "A");
  ASSERT_EQ(result.rows[0][3].Type(), VT_I4);
  EXPECT_EQ(result.rows[0][3].Get().lVal, 12);

  // Lower case is not the stored form; an unknown handle and a non-handle list nothing.
  auto volume = store::ParseHandle(handles_[5])->object;
  while (handles_.back().find_first_of("ABCDEF") == std::string::npos) {
    Add(volume, "V", std::nullopt, Utc(2012, 1, 1, 0));
  }
  EXPECT_EQ(RunQuery({kHandle}, {{kHandle, kEqual, Text(handles_.back().c_str())}}).rows.size(),
            1u);
  std::string lower = handles_.back();
  for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  for (const std::string& other : {lower, std::string(32, '0'), std::string("not a handle")}) {
    EXPECT_TRUE(RunQuery({kHandle}, {{kHandle, kEqual, Text(other.c_str())}}).rows.empty())
        << other;
  }
  // Other operators work on the handle text.
  EXPECT_EQ(RunQuery({kHandle}, {{kHandle, kNotEqual, Text(handles_[4].c_str())}}).rows.size(),
            handles_.size() - 1);
  EXPECT_EQ(RunQuery({kHandle}, {{kHandle, kLike, Text((handles_[4].substr(0, 16) + "%").c_str())}})
                .rows.size(),
            1u);
}

TEST_F(Operators, ValuesComeBackAsTextIntegerDateOrNull) {
  QueryResult result =
      RunQuery({kHandle, kObjectName, kRemark, kRevisionName, kCreatedBy, kCreationDate,
                kModifiedBy, kModifiedDate, kDatabank, kType, kSubType},
               {{kObjectName, kEqual, Text("B204-PLP-001")}});
  ASSERT_EQ(result.rows.size(), 3u);
  const auto& row = result.rows[1];  // unnamed, no remark
  EXPECT_EQ(row[0].Type(), VT_BSTR);
  EXPECT_EQ(row[0].TextUtf8().size(), 32u);
  EXPECT_EQ(row[1].TextUtf8(), "B204-PLP-001");
  EXPECT_EQ(row[2].Type(), VT_NULL);
  EXPECT_EQ(row[3].Type(), VT_NULL);
  EXPECT_EQ(row[4].TextUtf8(), "anna");
  EXPECT_EQ(row[5].Type(), VT_DATE);
  EXPECT_EQ(row[6].TextUtf8(), "anna");
  EXPECT_EQ(row[7].Type(), VT_DATE);
  EXPECT_EQ(row[8].TextUtf8(), "PW_OGDB");
  ASSERT_EQ(row[9].Type(), VT_I4);
  EXPECT_EQ(row[9].Get().lVal, 100);
  ASSERT_EQ(row[10].Type(), VT_I4);
  EXPECT_EQ(row[10].Get().lVal, 100);
  EXPECT_EQ(result.rows[0][2].TextUtf8(), "x");
}

TEST_F(Operators, TextsKeepEveryCharacter) {
  const std::string remark = "Kontrollert av \xC3\x98. Hansen \xF0\x9F\x9A\xA2";  // Ø, ship
  ASSERT_TRUE(store_->UpdateRevisionInfo(handles_[0], std::nullopt, remark, "eva"));
  store_->Commit();
  QueryResult result = RunQuery({kRemark}, {{kRemark, kEqual, Text(remark.c_str())}});
  ASSERT_EQ(result.rows.size(), 1u);
  EXPECT_EQ(result.rows[0][0].TextUtf8(), remark);
}

DATE DateOf(const com::Variant& value) {
  EXPECT_EQ(value.Type(), VT_DATE);
  return value.Get().date;
}

com::DateFields Fields(const com::Variant& value) {
  com::DateFields fields;
  EXPECT_TRUE(com::FieldsFromDate(DateOf(value), &fields));
  return fields;
}

TEST_F(Operators, DatesAreLocalOutsideAndUtcInside) {
  QueryResult result = RunQuery({kCreationDate, kModifiedDate}, {});
  ASSERT_EQ(result.rows.size(), 6u);
  // 08:00 UTC in winter is 09:00 in Central Europe, 12:00 UTC in summer is 14:00.
  EXPECT_EQ(Fields(result.rows[0][0]), (com::DateFields{2004, 3, 1, 9, 0, 0, 0}));
  EXPECT_EQ(Fields(result.rows[0][1]), (com::DateFields{2004, 3, 1, 9, 0, 0, 0}));
  EXPECT_EQ(Fields(result.rows[4][0]), (com::DateFields{2010, 7, 1, 14, 0, 0, 0}));

  struct Case {
    const char* what;
    Cond condition;
    std::vector<int> expected;
  };
  const std::vector<Case> cases = {
      {"Equal local time", {kCreationDate, kEqual, LocalDate(2004, 3, 1, 9, 0, 0)}, {0}},
      {"the UTC clock time is another instant",
       {kCreationDate, kEqual, LocalDate(2004, 3, 1, 8, 0, 0)},
       {}},
      {"Greater is strict",
       {kCreationDate, kGreater, LocalDate(2004, 3, 2, 13, 0, 0)},
       {2, 3, 4, 5}},
      {"Less is strict", {kCreationDate, kLess, LocalDate(2004, 3, 2, 13, 0, 0)}, {0}},
      {"Between includes both bounds",
       {kCreationDate, kBetween, LocalDate(2004, 3, 1, 9, 0, 0), LocalDate(2004, 3, 2, 13, 0, 0)},
       {0, 1}},
      {"Between one second short of each bound",
       {kCreationDate, kBetween, LocalDate(2004, 3, 1, 9, 0, 1), LocalDate(2004, 3, 2, 12, 59, 59)},
       {}},
      {"summer time", {kCreationDate, kEqual, LocalDate(2010, 7, 1, 14, 0, 0)}, {4}},
      {"modification date", {kModifiedDate, kGreater, LocalDate(2010, 7, 1, 14, 0, 0)}, {5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QueryResult found = RunQuery({kHandle}, {c.condition});
    EXPECT_EQ(found.executeResult, S_OK);
    EXPECT_EQ(Indexes(found, handles_), c.expected);
  }
}

TEST_F(Operators, DatesFollowTheProcessTimeZone) {
  ScopedTimeZone utc("UTC0");
  QueryResult result =
      RunQuery({kCreationDate}, {{kCreationDate, kEqual, LocalDate(2004, 3, 1, 8, 0, 0)}});
  ASSERT_EQ(result.rows.size(), 1u);
  EXPECT_EQ(Fields(result.rows[0][0]), (com::DateFields{2004, 3, 1, 8, 0, 0, 0}));
}

TEST_F(Operators, IsNullCountsFromOneGetValueFromZero) {
  auto query = NewQuery();
  ASSERT_TRUE(query);
  query->AddSelect(kRevisionName);
  query->AddSelect(kRemark);
  query->AddSelect(kObjectName);
  query->AddCondition(kHandle, kEqual, Text(handles_[1].c_str()).Get(), Text("").Get());
  query->SetRowOption(-1);
  ASSERT_EQ(query->Execute(), S_OK);
  std::int32_t isNull = -1;
  EXPECT_EQ(query->IsNull(1, &isNull), S_OK);
  EXPECT_EQ(isNull, 1);  // revision name
  EXPECT_EQ(query->IsNull(2, &isNull), S_OK);
  EXPECT_EQ(isNull, 1);  // remark
  EXPECT_EQ(query->IsNull(3, &isNull), S_OK);
  EXPECT_EQ(isNull, 0);  // object name
  EXPECT_EQ(query->IsNull(0, &isNull), E_INVALIDARG);
  EXPECT_EQ(query->IsNull(4, &isNull), E_INVALIDARG);
  com::Variant value;
  EXPECT_EQ(query->GetValue(2, value.Out()), S_OK);
  EXPECT_EQ(value.TextUtf8(), "B204-PLP-001");
  EXPECT_EQ(query->GetValue(3, value.Out()), E_INVALIDARG);
  EXPECT_EQ(query->GetValue(-1, value.Out()), E_INVALIDARG);
  EXPECT_EQ(query->IsNull(1, nullptr), E_POINTER);

  EXPECT_EQ(query->MoveNext(), S_OK);
  std::int32_t eof = 0;
  EXPECT_EQ(query->IsEOF(&eof), S_OK);
  EXPECT_NE(eof, 0);
  EXPECT_EQ(query->GetValue(0, value.Out()), E_UNEXPECTED);
  EXPECT_EQ(query->IsNull(1, &isNull), E_UNEXPECTED);
  EXPECT_EQ(query->MoveNext(), S_FALSE);
}

TEST_F(Operators, RowOptionLimitsTheRows) {
  EXPECT_EQ(RunQuery({kHandle}, {}, -1).rows.size(), 6u);
  EXPECT_EQ(RunQuery({kHandle}, {}, 2).rows.size(), 2u);
  EXPECT_EQ(RunQuery({kHandle}, {}, 0).rows.size(), 0u);
  auto query = NewQuery();
  EXPECT_EQ(query->SetRowOption(-2), E_INVALIDARG);
}

TEST_F(Operators, SqlInValuesMatchesNothingAndChangesNothing) {
  const char* attacks[] = {
      "x' OR '1'='1",     "%'; DROP TABLE revisions; --",
      "' OR 1=1 --",      "\"; DELETE FROM objects; --",
      "B204-PLP-001' --",
  };
  for (const char* attack : attacks) {
    SCOPED_TRACE(attack);
    for (std::int32_t op : {kEqual, kLike}) {
      for (std::int32_t attribute : {kObjectName, kRevisionName, kDatabank, kHandle}) {
        QueryResult result = RunQuery({kHandle}, {{attribute, op, Text(attack)}});
        EXPECT_EQ(result.executeResult, S_OK);
        EXPECT_TRUE(result.rows.empty());
      }
    }
  }
  EXPECT_EQ(RevisionCount(), 6);
  EXPECT_EQ(RunQuery({kHandle}, {}).rows.size(), 6u);
}

TEST_F(Operators, BadInputFailsExecuteWithErrorInformation) {
  struct Case {
    const char* what;
    std::vector<std::int32_t> select;
    std::vector<Cond> conditions;
  };
  const std::vector<Case> cases = {
      {"unknown select attribute", {7}, {}},
      {"unknown condition attribute", {kHandle}, {{99, kEqual, Text("x")}}},
      {"unknown operator 5", {kHandle}, {{kObjectName, 5, Text("x")}}},
      {"negative operator", {kHandle}, {{kObjectName, -1, Text("x")}}},
      {"text for a type code", {kHandle}, {{kType, kEqual, Text("305")}}},
      {"integer for a name", {kHandle}, {{kObjectName, kEqual, Int(1)}}},
      {"text for a date", {kHandle}, {{kCreationDate, kGreater, Text("2004-03-01 08:00:00")}}},
      {"date for a type code", {kHandle}, {{kType, kEqual, LocalDate(2004, 1, 1, 0, 0, 0)}}},
      {"Like on a number", {kHandle}, {{kType, kLike, Int(3)}}},
      {"Less with null", {kHandle}, {{kType, kLess, com::Variant(com::kNull)}}},
      {"empty value", {kHandle}, {{kObjectName, kEqual, com::Variant()}}},
      {"Between without a second value", {kHandle}, {{kType, kBetween, Int(1), Text("")}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QueryResult result = RunQuery(c.select, c.conditions);
    EXPECT_EQ(result.addResult, E_INVALIDARG);
    EXPECT_EQ(result.executeResult, E_INVALIDARG);
    EXPECT_TRUE(result.rows.empty());
    com::ComPtr<IErrorInfo> info;
    ASSERT_EQ(GetErrorInfo(0, &info), S_OK);
    com::BStr source;
    info->GetSource(&source);
    EXPECT_EQ(source.ToUtf8(), "VnQuerySrv.VNQuery");
    com::BStr description;
    info->GetDescription(&description);
    EXPECT_FALSE(description.Empty());
  }
}

TEST_F(Operators, OffersErrorInformationForItsInterface) {
  auto query = NewQuery();
  com::ComPtr<ISupportErrorInfo> support;
  ASSERT_EQ(query.As(&support), S_OK);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(IVNQuery::IID_), S_OK);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(IUnknown::IID_), S_FALSE);
}

TEST_F(Operators, ExecuteFailsWithoutAProjectOrItsStore) {
  {
    ScopedEnv none("_#INT#_PROJECT", nullptr);
    EXPECT_EQ(RunQuery({kHandle}, {}).executeResult, E_FAIL);
  }
  {
    ScopedEnv unlisted("_#INT#_PROJECT", "NOT-LISTED");
    EXPECT_EQ(RunQuery({kHandle}, {}).executeResult, E_FAIL);
  }
  store::RegisterProjectLocation("GONE", dir_.Location("gone.rvxdb"));
  {
    ScopedEnv gone("_#INT#_PROJECT", "GONE");
    EXPECT_EQ(RunQuery({kHandle}, {}).executeResult, E_FAIL);
    com::ComPtr<IErrorInfo> info;
    ASSERT_EQ(GetErrorInfo(0, &info), S_OK);
    com::BStr description;
    info->GetDescription(&description);
    EXPECT_NE(description.ToUtf8().find("GONE"), std::string::npos) << description.ToUtf8();
  }
  EXPECT_FALSE(std::filesystem::exists(dir_.Path() / "gone.rvxdb"));
}

TEST_F(Operators, ExecuteAgainRunsTheQueryAgain) {
  auto query = NewQuery();
  query->AddSelect(kHandle);
  ASSERT_EQ(query->Execute(), S_OK);
  query->MoveNext();
  query->MoveNext();
  ASSERT_EQ(query->Execute(), S_OK);
  com::Variant value;
  ASSERT_EQ(query->GetValue(0, value.Out()), S_OK);
  EXPECT_EQ(value.TextUtf8(), handles_[0]);
}

}  // namespace
}  // namespace vnquery_test
