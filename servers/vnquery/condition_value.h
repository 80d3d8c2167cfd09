#pragma once
// Turns a condition value as the query server receives it (a variant) into a store value of the
// attribute's kind: texts as text, codes as 16- or 32-bit integers, dates as local automation
// dates, and null. Anything else is refused.
#include <optional>
#include <string>

#include "platform/com/variant.h"
#include "servers/store/revision_query.h"

namespace vnquery {

// nullopt and *fault set when the variant does not fit the kind.
std::optional<store::Value> ValueFromVariant(const VARIANT& value, store::ValueKind kind,
                                             std::string* fault);

// The variant the query server hands out for a store value: VT_BSTR, VT_I4, VT_DATE (local) or
// VT_NULL. False when memory runs out or a date cannot be converted.
bool VariantFromValue(const store::Value& value, VARIANT* out);

}  // namespace vnquery
