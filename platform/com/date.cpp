#include "platform/com/date.h"

#include <cmath>
#include <cstdint>

namespace com {

namespace {

constexpr std::int64_t kMsPerDay = 86'400'000;
constexpr std::int64_t kSecondsPerDay = 86'400;

// Days from 1 January 1970 of a proleptic Gregorian date (any month 1-12, any year).
constexpr std::int64_t DaysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day) {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const std::int64_t yearOfEra = year - era * 400;
  const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

struct Civil {
  std::int64_t year;
  int month;
  int day;
};

constexpr Civil CivilFromDays(std::int64_t days) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t dayOfEra = days - era * 146097;
  const std::int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
  const int day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  const int month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

// Day 0 of the automation calendar, 30 December 1899, counted from 1970.
constexpr std::int64_t kEpoch = DaysFromCivil(1899, 12, 30);
constexpr std::int64_t kFirstDay = DaysFromCivil(100, 1, 1) - kEpoch;    // -657434
constexpr std::int64_t kLastDay = DaysFromCivil(9999, 12, 31) - kEpoch;  // 2958465
static_assert(kFirstDay == -657434 && kLastDay == 2958465);

constexpr std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  return a / b - ((a % b != 0 && (a < 0) != (b < 0)) ? 1 : 0);
}

}  // namespace

bool DateFromFields(const DateFields& f, DATE* date) {
  if (!date) return false;
  // Month overflow moves the year first; day, hour, minute, second and millisecond overflow
  // then carry through plain arithmetic on a linear count, which normalises them the same way
  // (31 April is 1 May, day 0 the last day of the month before, hour 24 the next midnight).
  const std::int64_t months = std::int64_t{f.month} - 1;
  const std::int64_t year = std::int64_t{f.year} + FloorDiv(months, 12);
  const std::int64_t month = months - FloorDiv(months, 12) * 12 + 1;
  // The day and time fields can move the date by at most a few million years; anything
  // further out cannot land in range and would overflow the arithmetic below.
  if (year < -20'000'000 || year > 20'000'000) return false;
  const std::int64_t day = DaysFromCivil(year, month, 1) - kEpoch + (std::int64_t{f.day} - 1);
  const std::int64_t ms = day * kMsPerDay + std::int64_t{f.hour} * 3'600'000 +
                          std::int64_t{f.minute} * 60'000 + std::int64_t{f.second} * 1'000 +
                          f.millisecond;
  if (ms < kFirstDay * kMsPerDay || ms >= (kLastDay + 1) * kMsPerDay) return false;
  const std::int64_t wholeDays = FloorDiv(ms, kMsPerDay);
  const double fraction = static_cast<double>(ms - wholeDays * kMsPerDay) / kMsPerDay;
  // Before day 0 the day part is negative but the fraction still counts forward from midnight.
  *date = static_cast<double>(wholeDays) + (wholeDays < 0 ? -fraction : fraction);
  return true;
}

bool FieldsFromDate(DATE date, DateFields* fields) {
  if (!fields || std::isnan(date)) return false;
  if (date <= static_cast<double>(kFirstDay - 1) || date >= static_cast<double>(kLastDay + 1)) {
    return false;
  }
  const double whole = std::trunc(date);
  std::int64_t day = static_cast<std::int64_t>(whole);
  std::int64_t seconds = std::llround(std::fabs(date - whole) * kSecondsPerDay);
  if (seconds >= kSecondsPerDay) {  // 23:59:59.5 and later round into the next day
    seconds -= kSecondsPerDay;
    ++day;
  }
  if (day < kFirstDay || day > kLastDay) return false;
  const Civil civil = CivilFromDays(day + kEpoch);
  fields->year = static_cast<int>(civil.year);
  fields->month = civil.month;
  fields->day = civil.day;
  fields->hour = static_cast<int>(seconds / 3600);
  fields->minute = static_cast<int>(seconds / 60 % 60);
  fields->second = static_cast<int>(seconds % 60);
  fields->millisecond = 0;
  return true;
}

}  // namespace com
