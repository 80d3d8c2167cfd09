#include "browser/query_value.h"

#include <cstdint>

#include "platform/com/utf.h"

namespace browser {
namespace {

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// The conversion refuses unpaired surrogates; a listed row must not make the whole listing fail.
std::u16string ReplaceUnpairedSurrogates(std::u16string_view text) {
  std::u16string result(text);
  for (std::size_t i = 0; i < result.size(); ++i) {
    if (IsHighSurrogate(result[i]) && i + 1 < result.size() && IsLowSurrogate(result[i + 1])) {
      ++i;
    } else if (IsHighSurrogate(result[i]) || IsLowSurrogate(result[i])) {
      result[i] = u'\uFFFD';
    }
  }
  return result;
}

std::string Utf8FromBstr(BSTR text) {
  std::u16string_view view(text ? text : u"", SysStringLen(text));
  if (auto utf8 = com::TryToUtf8(view)) return *std::move(utf8);
  return com::ToUtf8(ReplaceUnpairedSurrogates(view));
}

}  // namespace

std::string TextFromValue(const VARIANT& value) {
  if (value.vt == VT_BSTR) return Utf8FromBstr(value.bstrVal);
  if (value.vt == VT_EMPTY || value.vt == VT_NULL) return {};
  com::Variant text;
  if (FAILED(VariantChangeType(text.GetAddress(), &value, 0, VT_BSTR)) || !text.IsText()) {
    return {};
  }
  return Utf8FromBstr(text.Get().bstrVal);
}

std::int16_t Int16FromValue(const VARIANT& value) {
  if (value.vt == VT_I2) return value.iVal;
  if (value.vt == VT_I4) {
    const bool fits = value.lVal >= INT16_MIN && value.lVal <= INT16_MAX;
    return fits ? static_cast<std::int16_t>(value.lVal) : 0;
  }
  com::Variant code;
  if (FAILED(VariantChangeType(code.GetAddress(), &value, 0, VT_I2)) || code.Type() != VT_I2) {
    return 0;
  }
  return code.Get().iVal;
}

}  // namespace browser
