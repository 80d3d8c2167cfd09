#include "browser/revision_date.h"

#include <gtest/gtest.h>

#include <string>

namespace browser {
namespace {

using Kind = DateParseResult::Kind;

// Automation dates of the instants the cases name.
constexpr DATE k20040301At0800 = 38047.0 + 8.0 / 24;
constexpr DATE k20040501 = 38108.0;
constexpr DATE k19700101 = 25569.0;
constexpr DATE kOneSecond = 1.0 / 86400;

struct ParseCase {
  const char* text;
  Kind kind;
  DATE value = 0;
};

std::ostream& operator<<(std::ostream& out, const ParseCase& c) {
  return out << '"' << c.text << '"';
}

class ParseRevisionDateTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseRevisionDateTest, ClassifiesAndConverts) {
  const ParseCase& c = GetParam();
  const DateParseResult result = ParseRevisionDate(c.text);
  ASSERT_EQ(result.kind, c.kind);
  if (c.kind == Kind::Valid) {
    EXPECT_NEAR(result.value, c.value, kOneSecond / 100);
  }
}

INSTANTIATE_TEST_SUITE_P(
    LengthChecks, ParseRevisionDateTest,
    testing::Values(ParseCase{"", Kind::Empty}, ParseCase{"2", Kind::Malformed},
                    ParseCase{"2004-3-1", Kind::Malformed},
                    ParseCase{"2004-03-01 08:00:0", Kind::Malformed},
                    ParseCase{"2004-03-01 08:00:00", Kind::Valid, k20040301At0800}));

INSTANTIATE_TEST_SUITE_P(Bounds, ParseRevisionDateTest,
                         testing::Values(ParseCase{"1969-12-31 23:59:59", Kind::Rejected},
                                         ParseCase{"2004-13-01 00:00:00", Kind::Rejected},
                                         ParseCase{"2004-00-01 00:00:00", Kind::Rejected},
                                         ParseCase{"2004-01-00 00:00:00", Kind::Rejected},
                                         ParseCase{"2004-01-32 00:00:00", Kind::Rejected},
                                         ParseCase{"2004-01-01 25:00:00", Kind::Rejected},
                                         ParseCase{"2004-01-01 -1:00:00", Kind::Rejected},
                                         ParseCase{"2004-01-01 00:00:61", Kind::Rejected},
                                         ParseCase{"abcdefghijklmnopqrs", Kind::Rejected},
                                         ParseCase{"1970-01-01 00:00:00", Kind::Valid, k19700101}));

INSTANTIATE_TEST_SUITE_P(
    FixedPositions, ParseRevisionDateTest,
    testing::Values(
        // Separators are not examined and the tail is ignored.
        ParseCase{"2004/03/01 08.00.00", Kind::Valid, k20040301At0800},
        ParseCase{"2004x03x01x08x00x00", Kind::Valid, k20040301At0800},
        ParseCase{"2004-03-01 08:00:00 and more", Kind::Valid, k20040301At0800},
        ParseCase{"2004-03-01 08:00:0099", Kind::Valid, k20040301At0800},
        // Leading-digits rule: blanks and a sign before the digits, stop at a non-digit.
        ParseCase{"2004-03-01  8:00:00", Kind::Valid, k20040301At0800},
        ParseCase{"2004-03-+1 08:00:00", Kind::Valid, k20040301At0800},
        ParseCase{"2004-03-01 08:0x:00", Kind::Valid, k20040301At0800},
        ParseCase{"2004-03-01 08:x5:00", Kind::Valid, k20040301At0800},
        ParseCase{"2004-3x-01 08:00:00", Kind::Valid, k20040301At0800},
        ParseCase{"2004-03-1x 08:00:00", Kind::Valid, k20040301At0800}));

INSTANTIATE_TEST_SUITE_P(
    CarriedIntoTheNextField, ParseRevisionDateTest,
    testing::Values(ParseCase{"2004-04-31 00:00:00", Kind::Valid, k20040501},
                    ParseCase{"2004-03-01 08:75:00", Kind::Valid, k20040301At0800 + 75.0 / 1440},
                    ParseCase{"2004-03-01 07:60:00", Kind::Valid, k20040301At0800},
                    ParseCase{"2004-03-01 07:-5:00", Kind::Valid, k20040301At0800 - 65.0 / 1440},
                    ParseCase{"2004-02-29 32:00:00", Kind::Rejected},
                    ParseCase{"2004-02-29 24:00:00", Kind::Valid, 38047.0},
                    ParseCase{"2004-03-01 07:59:60", Kind::Valid, k20040301At0800}));

TEST(ParseRevisionDateTest, TheLatestRepresentableTextIsValidAndOneBeyondIsRejected) {
  EXPECT_TRUE(ParseRevisionDate("9999-12-31 23:59:59").IsValid());
  // Carries past the last representable year: no date, so no bound.
  EXPECT_EQ(ParseRevisionDate("9999-12-31 24:00:00").kind, Kind::Rejected);
}

VARIANT DateVariant(DATE date) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_DATE;
  v.date = date;
  return v;
}

TEST(FormatRevisionDateTest, WritesTheCalendarFieldsToTheSecond) {
  EXPECT_EQ(FormatRevisionDate(DateVariant(k20040301At0800)), "2004-03-01 08:00:00");
  EXPECT_EQ(FormatRevisionDate(DateVariant(k20040301At0800 + 0.4 * kOneSecond)),
            "2004-03-01 08:00:00");
  EXPECT_EQ(FormatRevisionDate(DateVariant(k20040301At0800 + 0.6 * kOneSecond)),
            "2004-03-01 08:00:01");
  EXPECT_EQ(FormatRevisionDate(DateVariant(38047.0 - 0.4 * kOneSecond)), "2004-03-01 00:00:00");
}

TEST(FormatRevisionDateTest, ShowsDatesOutsideTheUsualRangeAsTheyAre) {
  EXPECT_EQ(FormatRevisionDate(DateVariant(k19700101 - kOneSecond)), "1969-12-31 23:59:59");
  EXPECT_EQ(FormatRevisionDate(DateVariant(0.0)), "1899-12-30 00:00:00");
  EXPECT_EQ(FormatRevisionDate(DateVariant(-1.25)), "1899-12-29 06:00:00");
  EXPECT_EQ(FormatRevisionDate(DateVariant(2958465.0)), "9999-12-31 00:00:00");
}

TEST(FormatRevisionDateTest, GivesTheEmptyTextForAValueThatIsNoDate) {
  VARIANT empty;
  VariantInit(&empty);
  EXPECT_EQ(FormatRevisionDate(empty), "");
  VARIANT null = empty;
  null.vt = VT_NULL;
  EXPECT_EQ(FormatRevisionDate(null), "");
  VARIANT number = empty;
  number.vt = VT_I4;
  number.lVal = 38047;
  EXPECT_EQ(FormatRevisionDate(number), "");
  EXPECT_EQ(FormatRevisionDate(DateVariant(1e9)), "");
}

TEST(RevisionDateRoundTripTest, AParsedTextIsShownAsTyped) {
  for (const char* text : {"1970-01-01 00:00:00", "2004-02-29 23:59:59", "2037-12-31 12:34:56",
                           "2100-06-15 01:02:03"}) {
    const DateParseResult parsed = ParseRevisionDate(text);
    ASSERT_TRUE(parsed.IsValid()) << text;
    EXPECT_EQ(FormatRevisionDate(DateVariant(parsed.value)), text);
  }
}

}  // namespace
}  // namespace browser
