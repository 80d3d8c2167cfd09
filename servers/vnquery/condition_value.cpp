#include "servers/vnquery/condition_value.h"

#include <limits>

#include "platform/com/utf.h"
#include "servers/vnquery/local_date.h"

namespace vnquery {

namespace {
const char* KindName(store::ValueKind kind) {
  switch (kind) {
    case store::ValueKind::Text:
      return "a text";
    case store::ValueKind::Integer:
      return "an integer";
    case store::ValueKind::Date:
      return "a date";
  }
  return "?";
}
}  // namespace

std::optional<store::Value> ValueFromVariant(const VARIANT& value, store::ValueKind kind,
                                             std::string* fault) {
  if (value.vt == VT_NULL) return store::Value(store::Null{});
  switch (kind) {
    case store::ValueKind::Text:
      if (value.vt == VT_BSTR) {
        std::u16string_view text(value.bstrVal ? value.bstrVal : u"", SysStringLen(value.bstrVal));
        std::string why;
        if (auto utf8 = com::TryToUtf8(text, &why)) return store::Value(std::move(*utf8));
        *fault = "the text value is not valid UTF-16: " + why;
        return std::nullopt;
      }
      break;
    case store::ValueKind::Integer:
      if (value.vt == VT_I4) return store::Value(std::int64_t{value.lVal});
      if (value.vt == VT_I2) return store::Value(std::int64_t{value.iVal});
      break;
    case store::ValueKind::Date:
      if (value.vt == VT_DATE) {
        if (auto time = UtcFromLocalDate(value.date)) return store::Value(*time);
        *fault = "the date value lies outside the supported range";
        return std::nullopt;
      }
      break;
  }
  *fault = std::string("the attribute needs ") + KindName(kind) + " value, not variant type " +
           std::to_string(value.vt);
  return std::nullopt;
}

bool VariantFromValue(const store::Value& value, VARIANT* out) {
  VariantInit(out);
  if (const auto* text = std::get_if<std::string>(&value)) {
    auto wide = com::TryToUtf16(*text);
    if (!wide) return false;
    BSTR bstr = SysAllocStringLen(wide->data(), static_cast<std::uint32_t>(wide->size()));
    if (!bstr) return false;
    out->vt = VT_BSTR;
    out->bstrVal = bstr;
    return true;
  }
  if (const auto* number = std::get_if<std::int64_t>(&value)) {
    if (*number < std::numeric_limits<std::int32_t>::min() ||
        *number > std::numeric_limits<std::int32_t>::max()) {
      return false;
    }
    out->vt = VT_I4;
    out->lVal = static_cast<std::int32_t>(*number);
    return true;
  }
  if (const auto* time = std::get_if<store::TimePoint>(&value)) {
    auto date = LocalDateFromUtc(*time);
    if (!date) return false;
    out->vt = VT_DATE;
    out->date = *date;
    return true;
  }
  out->vt = VT_NULL;
  return true;
}

}  // namespace vnquery
