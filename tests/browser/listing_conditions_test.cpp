#include "browser/listing_conditions.h"

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

struct NameCase {
  const char* typed;
  const char* condition;
};

std::ostream& operator<<(std::ostream& out, const NameCase& c) {
  return out << '"' << c.typed << '"';
}

class AddNameConditionTest : public testing::TestWithParam<NameCase> {};

TEST_P(AddNameConditionTest, PutsOneConditionOnTheObjectName) {
  auto query = fakes::FakeVnQuery::Create();
  AddNameCondition(*query.Get(), GetParam().typed);
  EXPECT_THAT(query->CallLog(), ElementsAre(GetParam().condition));
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, AddNameConditionTest,
    testing::Values(
        NameCase{"*", R"(AddCondition(2,2,VT_BSTR:"%",VT_BSTR:""))"},
        NameCase{"A?B%", R"(AddCondition(2,2,VT_BSTR:"A_B_",VT_BSTR:""))"},
        NameCase{"P*", R"(AddCondition(2,2,VT_BSTR:"P%",VT_BSTR:""))"},
        // A typed "%" matches one character; "*" becomes the any-run "%" only afterwards.
        NameCase{"%*?", R"(AddCondition(2,2,VT_BSTR:"_%_",VT_BSTR:""))"},
        // A "_" is kept; in a pattern it matches one character.
        NameCase{"A_B*", R"(AddCondition(2,2,VT_BSTR:"A_B%",VT_BSTR:""))"},
        NameCase{"ABC", R"(AddCondition(2,0,VT_BSTR:"ABC",VT_BSTR:""))"},
        NameCase{"A_B", R"(AddCondition(2,0,VT_BSTR:"A_B",VT_BSTR:""))"},
        NameCase{"", R"(AddCondition(2,0,VT_BSTR:"",VT_BSTR:""))"},
        NameCase{"Blöcke 12", R"(AddCondition(2,0,VT_BSTR:"Blöcke 12",VT_BSTR:""))"},
        NameCase{"Blöck?", R"(AddCondition(2,2,VT_BSTR:"Blöck_",VT_BSTR:""))"}));

struct ModelTypeCase {
  const char* displayName;
  std::vector<std::string> conditions;
};

std::ostream& operator<<(std::ostream& out, const ModelTypeCase& c) {
  return out << c.displayName;
}

class AddModelTypeConditionsTest : public testing::TestWithParam<ModelTypeCase> {};

TEST_P(AddModelTypeConditionsTest, AddsTheEntrysConditionsInOrder) {
  const ModelTypeEntry& entry = ModelTypeCatalogue::Find(GetParam().displayName);
  ASSERT_EQ(entry.displayName, GetParam().displayName);
  auto query = fakes::FakeVnQuery::Create();
  AddModelTypeConditions(*query.Get(), entry);
  EXPECT_THAT(query->CallLog(), ElementsAreArray(GetParam().conditions));
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, AddModelTypeConditionsTest,
    testing::Values(
        ModelTypeCase{"All models", {R"(AddCondition(4,1,VT_BSTR:"PW_MORVOLDB",VT_BSTR:""))"}},
        ModelTypeCase{"Equipments", {R"(AddCondition(4,0,VT_BSTR:"PWE_GENEQPDB",VT_BSTR:""))"}},
        ModelTypeCase{"Structure models",
                      {R"(AddCondition(4,0,VT_BSTR:"PWF_DB_FSTRU",VT_BSTR:""))"}},
        ModelTypeCase{"Cableway models",
                      {R"(AddCondition(4,0,VT_BSTR:"PWC_CAWSTRDB",VT_BSTR:""))"}},
        ModelTypeCase{
            "Vent models",
            {R"(AddCondition(4,0,VT_BSTR:"PW_PSDB",VT_BSTR:""))",
             "AddCondition(5,7,VT_I4:400,VT_I4:499)", R"(AddCondition(6,0,VT_I4:3,VT_BSTR:""))"}},
        ModelTypeCase{"Pipe spools",
                      {R"(AddCondition(4,0,VT_BSTR:"PW_PPDB",VT_BSTR:""))",
                       R"(AddCondition(5,0,VT_I4:305,VT_BSTR:""))"}},
        ModelTypeCase{
            "Pipe models",
            {R"(AddCondition(4,0,VT_BSTR:"PW_PSDB",VT_BSTR:""))",
             "AddCondition(5,7,VT_I4:400,VT_I4:499)", R"(AddCondition(6,0,VT_I4:1,VT_BSTR:""))"}},
        ModelTypeCase{
            "Curved panels",
            {R"(AddCondition(4,0,VT_BSTR:"PW_OGDB",VT_BSTR:""))",
             "AddCondition(5,7,VT_I4:500,VT_I4:699)", R"(AddCondition(6,0,VT_I4:501,VT_BSTR:""))"}},
        ModelTypeCase{"Drawings",
                      {R"(AddCondition(4,0,VT_BSTR:"PW_PDB",VT_BSTR:""))",
                       R"(AddCondition(5,0,VT_I4:100,VT_BSTR:""))"}},
        ModelTypeCase{
            "Plane panels",
            {R"(AddCondition(4,0,VT_BSTR:"PW_OGDB",VT_BSTR:""))",
             "AddCondition(5,7,VT_I4:100,VT_I4:499)", "AddCondition(5,7,VT_I4:700,VT_I4:999)",
             "AddCondition(6,7,VT_I4:100,VT_I4:999)"}}));

constexpr DATE kAfter = 38047.0 + 8.0 / 24;  // 2004-03-01 08:00:00
constexpr DATE kBefore = 38108.5;            // 2004-05-01 12:00:00

struct DateConditionCase {
  const char* name;
  std::optional<DATE> after;
  std::optional<DATE> before;
  // Operator and the two values expected; no operator: no condition.
  std::optional<QueryOperator> op = std::nullopt;
  std::optional<DATE> first = std::nullopt;
  std::optional<DATE> second = std::nullopt;  // none: the empty text
};

std::ostream& operator<<(std::ostream& out, const DateConditionCase& c) {
  return out << c.name;
}

class AddCreationDateConditionTest : public testing::TestWithParam<DateConditionCase> {};

TEST_P(AddCreationDateConditionTest, AddsAtMostOneConditionOnTheCreationDate) {
  const DateConditionCase& c = GetParam();
  auto query = fakes::FakeVnQuery::Create();
  AddCreationDateCondition(*query.Get(), c.after, c.before);
  if (!c.op) {
    EXPECT_THAT(query->Calls(), IsEmpty());
    return;
  }
  ASSERT_EQ(query->Calls().size(), 1u);
  const fakes::VnQueryCall& call = query->Calls()[0];
  EXPECT_EQ(call.op, fakes::VnQueryOp::AddCondition);
  EXPECT_EQ(call.first, 21);
  EXPECT_EQ(call.second, ToCode(*c.op));
  ASSERT_EQ(call.value1.Type(), VT_DATE);
  EXPECT_EQ(call.value1.Get().date, *c.first);
  if (c.second) {
    ASSERT_EQ(call.value2.Type(), VT_DATE);
    EXPECT_EQ(call.value2.Get().date, *c.second);
  } else {
    ASSERT_TRUE(call.value2.IsText());
    EXPECT_EQ(call.value2.TextView(), u"");
  }
}

INSTANTIATE_TEST_SUITE_P(Bounds, AddCreationDateConditionTest,
                         testing::Values(DateConditionCase{"Both", kAfter, kBefore,
                                                           QueryOperator::Between, kAfter, kBefore},
                                         DateConditionCase{"AfterOnly", kAfter, std::nullopt,
                                                           QueryOperator::Greater, kAfter},
                                         DateConditionCase{"BeforeOnly", std::nullopt, kBefore,
                                                           QueryOperator::Less, kBefore},
                                         DateConditionCase{"None", std::nullopt, std::nullopt}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace browser
