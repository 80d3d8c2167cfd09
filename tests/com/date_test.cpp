#include "platform/com/date.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using com::DateFields;

struct KnownDate {
  DateFields fields;
  double value;
};

// Values fixed by the automation calendar; each converts both ways.
const KnownDate kKnownDates[] = {
    {{1899, 12, 30, 0, 0, 0}, 0.0},
    {{1899, 12, 31, 0, 0, 0}, 1.0},
    {{1900, 1, 1, 0, 0, 0}, 2.0},
    {{1900, 2, 28, 0, 0, 0}, 60.0},
    {{1900, 3, 1, 0, 0, 0}, 61.0},  // no 29 February 1900
    {{1899, 12, 30, 12, 0, 0}, 0.5},
    {{1899, 12, 30, 6, 0, 0}, 0.25},
    {{1899, 12, 29, 0, 0, 0}, -1.0},
    {{1899, 12, 29, 6, 0, 0}, -1.25},
    {{1899, 12, 29, 18, 0, 0}, -1.75},
    {{1899, 12, 28, 12, 0, 0}, -2.5},
    {{1800, 1, 1, 0, 0, 0}, -36522.0},
    {{100, 1, 1, 0, 0, 0}, -657434.0},
    {{100, 1, 1, 12, 0, 0}, -657434.5},
    {{2000, 1, 1, 0, 0, 0}, 36526.0},
    {{2000, 2, 29, 0, 0, 0}, 36585.0},
    {{2004, 3, 1, 8, 0, 0}, 38047.0 + 1.0 / 3.0},
    {{2024, 2, 29, 23, 59, 59}, 45351.0 + 86399.0 / 86400.0},
    {{9999, 12, 31, 0, 0, 0}, 2958465.0},
    {{9999, 12, 31, 23, 59, 59}, 2958465.0 + 86399.0 / 86400.0},
};

TEST(DateTest, FieldsToDateMatchesKnownValues) {
  for (const KnownDate& known : kKnownDates) {
    const DateFields& f = known.fields;
    SCOPED_TRACE(testing::Message() << f.year << "-" << f.month << "-" << f.day << " " << f.hour
                                    << ":" << f.minute << ":" << f.second);
    DATE date = 12345.0;
    ASSERT_TRUE(com::DateFromFields(f, &date));
    EXPECT_DOUBLE_EQ(date, known.value);
  }
}

TEST(DateTest, DateToFieldsMatchesKnownValues) {
  for (const KnownDate& known : kKnownDates) {
    SCOPED_TRACE(testing::Message() << known.value);
    DateFields fields;
    ASSERT_TRUE(com::FieldsFromDate(known.value, &fields));
    EXPECT_EQ(fields, known.fields);
  }
}

TEST(DateTest, EverySecondOfADayBeforeAndAfterDayZeroRoundTrips) {
  for (int year : {1899, 1900, 1066, 2038}) {
    for (int second = 0; second < 86400; second += 7) {
      DateFields in{year, 12, 29, second / 3600, second / 60 % 60, second % 60};
      DATE date = 0;
      ASSERT_TRUE(com::DateFromFields(in, &date));
      DateFields out;
      ASSERT_TRUE(com::FieldsFromDate(date, &out));
      ASSERT_EQ(out, in) << "year " << year << " second " << second;
    }
  }
}

TEST(DateTest, NegativeDatesKeepTheTimeOfDayAsAForwardFraction) {
  DateFields fields;
  // -0.25 has day part 0: six o'clock on day 0, the same as 0.25.
  ASSERT_TRUE(com::FieldsFromDate(-0.25, &fields));
  EXPECT_EQ(fields, (DateFields{1899, 12, 30, 6, 0, 0}));
  ASSERT_TRUE(com::FieldsFromDate(-36522.75, &fields));
  EXPECT_EQ(fields, (DateFields{1800, 1, 1, 18, 0, 0}));
}

struct Rounding {
  double value;
  DateFields expected;
};

TEST(DateTest, ConvertingBackRoundsToTheNearestSecond) {
  constexpr double kSecond = 1.0 / 86400.0;
  const Rounding cases[] = {
      {1.0 + 0.4 * kSecond, {1899, 12, 31, 0, 0, 0}},
      {1.0 + 0.6 * kSecond, {1899, 12, 31, 0, 0, 1}},
      {1.0 + 59.6 * kSecond, {1899, 12, 31, 0, 1, 0}},
      // 23:59:59.6 rounds into the next day, also before day 0.
      {1.0 + 86399.6 * kSecond, {1900, 1, 1, 0, 0, 0}},
      {-1.0 - 86399.6 * kSecond, {1899, 12, 30, 0, 0, 0}},
      {-2.0 - 0.6 * kSecond, {1899, 12, 28, 0, 0, 1}},
      {2958465.0 + 86399.4 * kSecond, {9999, 12, 31, 23, 59, 59}},
  };
  for (const Rounding& c : cases) {
    SCOPED_TRACE(testing::Message() << std::fixed << c.value);
    DateFields fields;
    ASSERT_TRUE(com::FieldsFromDate(c.value, &fields));
    EXPECT_EQ(fields, c.expected);
  }
}

struct Carry {
  DateFields in;
  DateFields normalised;
};

TEST(DateTest, FieldsOutOfRangeCarryIntoTheNextField) {
  const Carry cases[] = {
      {{2004, 13, 1, 0, 0, 0}, {2005, 1, 1, 0, 0, 0}},
      {{2004, 0, 1, 0, 0, 0}, {2003, 12, 1, 0, 0, 0}},
      {{2004, -1, 1, 0, 0, 0}, {2003, 11, 1, 0, 0, 0}},
      {{2004, 25, 1, 0, 0, 0}, {2006, 1, 1, 0, 0, 0}},
      {{2004, 4, 31, 0, 0, 0}, {2004, 5, 1, 0, 0, 0}},
      {{2003, 2, 29, 0, 0, 0}, {2003, 3, 1, 0, 0, 0}},
      {{2004, 3, 0, 0, 0, 0}, {2004, 2, 29, 0, 0, 0}},
      {{2004, 1, 0, 0, 0, 0}, {2003, 12, 31, 0, 0, 0}},
      {{2004, 3, -1, 0, 0, 0}, {2004, 2, 28, 0, 0, 0}},
      {{2004, 1, 400, 0, 0, 0}, {2005, 2, 3, 0, 0, 0}},
      {{2004, 12, 31, 24, 0, 0}, {2005, 1, 1, 0, 0, 0}},
      {{2004, 3, 1, 8, 75, 0}, {2004, 3, 1, 9, 15, 0}},
      {{2004, 3, 1, 8, 0, 60}, {2004, 3, 1, 8, 1, 0}},
      {{2004, 3, 1, 23, 59, 60}, {2004, 3, 2, 0, 0, 0}},
      {{2004, 3, 1, -1, 0, 0}, {2004, 2, 29, 23, 0, 0}},
      {{2004, 3, 1, 0, -1, 0}, {2004, 2, 29, 23, 59, 0}},
      {{2004, 3, 1, 0, 0, -1}, {2004, 2, 29, 23, 59, 59}},
      {{1899, 12, 30, -18, 0, 0}, {1899, 12, 29, 6, 0, 0}},
      {{99, 13, 1, 0, 0, 0}, {100, 1, 1, 0, 0, 0}},
  };
  for (const Carry& c : cases) {
    const DateFields& f = c.in;
    SCOPED_TRACE(testing::Message() << f.year << "-" << f.month << "-" << f.day << " " << f.hour
                                    << ":" << f.minute << ":" << f.second);
    DATE date = 0;
    DATE expected = 0;
    ASSERT_TRUE(com::DateFromFields(c.in, &date));
    ASSERT_TRUE(com::DateFromFields(c.normalised, &expected));
    EXPECT_DOUBLE_EQ(date, expected);
    DateFields back;
    ASSERT_TRUE(com::FieldsFromDate(date, &back));
    EXPECT_EQ(back, c.normalised);
  }
}

TEST(DateTest, FieldsOutsideTheYears100To9999AreRefused) {
  const DateFields refused[] = {
      {99, 12, 31, 23, 59, 59},
      {10000, 1, 1, 0, 0, 0},
      {9999, 12, 31, 24, 0, 0},
      {100, 1, 0, 0, 0, 0},
      {100, 1, 1, 0, 0, -1},
      {0, 1, 1, 0, 0, 0},
      {-5, 1, 1, 0, 0, 0},
      {std::numeric_limits<int>::max(), std::numeric_limits<int>::max(), 1, 0, 0, 0},
      {std::numeric_limits<int>::min(), std::numeric_limits<int>::min(),
       std::numeric_limits<int>::min(), std::numeric_limits<int>::min(), 0, 0},
      {2000, 1, std::numeric_limits<int>::max(), std::numeric_limits<int>::max(),
       std::numeric_limits<int>::max(), std::numeric_limits<int>::max()},
  };
  for (const DateFields& f : refused) {
    SCOPED_TRACE(testing::Message() << f.year << "-" << f.month << "-" << f.day);
    DATE date = 42.0;
    EXPECT_FALSE(com::DateFromFields(f, &date));
    EXPECT_EQ(date, 42.0);
  }
}

TEST(DateTest, DatesOutsideTheValidRangeOrNotANumberAreRefused) {
  constexpr double kSecond = 1.0 / 86400.0;
  const double refused[] = {
      -657435.0,
      2958466.0,
      2958465.0 + 86399.6 * kSecond,  // rounds into the year 10000
      1e300,
      -1e300,
      std::numeric_limits<double>::infinity(),
      -std::numeric_limits<double>::infinity(),
      std::numeric_limits<double>::quiet_NaN(),
  };
  for (double value : refused) {
    DateFields fields{1, 2, 3, 4, 5, 6};
    EXPECT_FALSE(com::FieldsFromDate(value, &fields)) << value;
  }
  DateFields fields;
  EXPECT_TRUE(com::FieldsFromDate(-657434.99, &fields));  // 1 January 100, late evening
  EXPECT_EQ(fields.year, 100);
  EXPECT_EQ(fields.hour, 23);
}

TEST(DateTest, NullOutputIsRefused) {
  EXPECT_FALSE(com::DateFromFields(DateFields{2000, 1, 1, 0, 0, 0}, nullptr));
  EXPECT_FALSE(com::FieldsFromDate(1.0, nullptr));
}

}  // namespace
