#pragma once
// Automation dates: days since 30 December 1899 00:00:00, the fraction being the time of day.
// Before that day the day part is negative and the fraction is still the time of day
// (-1.25 is 29 December 1899 06:00).
#include "platform/com/variant.h"

namespace com {

struct DateFields {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
  friend bool operator==(const DateFields&, const DateFields&) = default;
};

// Fields outside their range (month 13, 31 April, hour 24, second 60, minute 75, day 0) carry
// into the next field. False when the result lies outside the years 100 to 9999.
bool DateFromFields(const DateFields& fields, DATE* date);

// Calendar fields of a date, rounded to the nearest second (millisecond is 0).
// False for a date outside the years 100 to 9999 or not a number.
bool FieldsFromDate(DATE date, DateFields* fields);

}  // namespace com
