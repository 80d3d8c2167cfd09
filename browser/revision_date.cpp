#include "browser/revision_date.h"

#include <cstdio>

#include "platform/com/date.h"

namespace browser {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The leading-digits rule: leading blanks and one sign allowed, stops at the first non-digit,
// no digits give 0. The pieces are at most four characters, so no overflow is possible.
int LeadingDigits(std::string_view piece) {
  std::size_t i = 0;
  while (i < piece.size() && IsBlank(piece[i])) ++i;
  bool negative = false;
  if (i < piece.size() && (piece[i] == '+' || piece[i] == '-')) {
    negative = piece[i] == '-';
    ++i;
  }
  int value = 0;
  for (; i < piece.size() && piece[i] >= '0' && piece[i] <= '9'; ++i) {
    value = value * 10 + (piece[i] - '0');
  }
  return negative ? -value : value;
}

bool InRange(int value, int low, int high) {
  return low <= value && value <= high;
}

}  // namespace

DateParseResult ParseRevisionDate(std::string_view text) {
  using Kind = DateParseResult::Kind;
  if (text.empty()) return {Kind::Empty};
  if (text.size() < kRevisionDateTextLength) return {Kind::Malformed};

  com::DateFields fields;
  fields.year = LeadingDigits(text.substr(0, 4));
  fields.month = LeadingDigits(text.substr(5, 2));
  fields.day = LeadingDigits(text.substr(8, 2));
  fields.hour = LeadingDigits(text.substr(11, 2));
  fields.minute = LeadingDigits(text.substr(14, 2));
  fields.second = LeadingDigits(text.substr(17, 2));
  // The minute has no bounds of its own; out-of-range minutes carry like the other fields.
  if (fields.year < 1970 || !InRange(fields.month, 1, 12) || !InRange(fields.day, 1, 31) ||
      !InRange(fields.hour, 0, 24) || !InRange(fields.second, 0, 60)) {
    return {Kind::Rejected};
  }
  DATE date = 0;
  if (!com::DateFromFields(fields, &date)) return {Kind::Rejected};
  return {Kind::Valid, date};
}

std::string FormatRevisionDate(const VARIANT& value) {
  if (value.vt != VT_DATE) return {};
  com::DateFields fields;
  if (!com::FieldsFromDate(value.date, &fields)) return {};
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", fields.year, fields.month,
                fields.day, fields.hour, fields.minute, fields.second);
  return text;
}

}  // namespace browser
