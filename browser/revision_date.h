#pragma once
// Date texts "YYYY-MM-DD HH:MM:SS": parsing what the user typed, showing what the server sent.
#include <string>
#include <string_view>

#include "platform/com/variant.h"

namespace browser {

inline constexpr std::size_t kRevisionDateTextLength = 19;

struct DateParseResult {
  enum class Kind {
    Empty,      // no text: no bound
    Malformed,  // 1 to 18 characters: the page warns; no bound
    Rejected,   // long enough but a field out of bounds: no bound, no warning
    Valid,      // value holds the date
  };
  Kind kind = Kind::Empty;
  DATE value = 0;

  bool IsValid() const { return kind == Kind::Valid; }
  friend bool operator==(const DateParseResult&, const DateParseResult&) = default;
};

// Reads the fields from their fixed positions (year 0-3, month 5-6, day 8-9, hour 11-12,
// minute 14-15, second 17-18); separators and anything after position 18 are not examined.
// Fields that pass the bounds but are no calendar time (31 April, hour 24, second 60, any minute)
// carry into the next field. A text whose date cannot be represented at all is Rejected.
DateParseResult ParseRevisionDate(std::string_view text);

// "%Y-%m-%d %H:%M:%S" from the date's calendar fields, rounded to the second; the empty text for
// a value that is no date (not VT_DATE, or outside the years 100 to 9999).
std::string FormatRevisionDate(const VARIANT& value);

}  // namespace browser
