#pragma once
// Values of a query result row turned into what the listing shows.
#include <cstdint>
#include <string>

#include "platform/com/variant.h"

namespace browser {

// A text value as UTF-8; an unpaired surrogate becomes U+FFFD. Null and empty give the empty
// text; other types are changed to text when the runtime can, else give the empty text.
std::string TextFromValue(const VARIANT& value);

// A code as a 16-bit signed integer (the server may send VT_I2 or VT_I4); 0, which no
// classification range holds, when the value is missing or does not fit.
std::int16_t Int16FromValue(const VARIANT& value);

}  // namespace browser
