#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "platform/com/date.h"
#include "platform/com/variant.h"

// Type changes between the value kinds this system passes around: empty, null, 16- and 32-bit
// integers, dates and texts.
//
// Choices where the original model leaves room:
// - Numeric text is [blanks][sign]digits[.digits][blanks] (or [sign].digits); no thousands
//   separators, currency symbols or exponents, since no text of this system carries them.
// - A date becomes the 19-character text "YYYY-MM-DD HH:MM:SS" always, midnight included, so
//   that it has the one date-text form the rest of the system reads by fixed positions.
// - Text becomes a date from "YYYY-MM-DD", "YYYY-MM-DD HH:MM" or "YYYY-MM-DD HH:MM:SS" with
//   surrounding blanks allowed; every field must lie in its calendar range.
// - A date outside the years 100 to 9999 (or not a number) cannot become text or an integer:
//   DISP_E_OVERFLOW, as is an integer too large for a date.

namespace {

constexpr std::int64_t kFirstDay = -657434;  // 1 January 100
constexpr std::int64_t kLastDay = 2958465;   // 31 December 9999

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t';
}

std::u16string_view Trim(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

std::u16string_view TextOf(const VARIANT& v) {
  return v.bstrVal ? std::u16string_view(v.bstrVal, SysStringLen(v.bstrVal))
                   : std::u16string_view();
}

// A number from text, rounded half to even; DISP_E_OVERFLOW outside [minimum, maximum],
// DISP_E_TYPEMISMATCH when the text is not a number.
HRESULT IntegerFromText(std::u16string_view text, std::int64_t minimum, std::int64_t maximum,
                        std::int64_t* out) {
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text.front() == u'+' || text.front() == u'-')) {
    negative = text.front() == u'-';
    text.remove_prefix(1);
  }
  std::size_t i = 0;
  std::int64_t magnitude = 0;
  bool tooLarge = false;
  std::size_t digits = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i, ++digits) {
    if (magnitude > std::numeric_limits<std::int32_t>::max()) {
      tooLarge = true;  // far beyond every target; keep scanning to validate the text
    } else {
      magnitude = magnitude * 10 + (text[i] - u'0');
    }
  }
  // Rounding: the first fraction digit decides, a 5 followed only by zeros is a tie.
  int firstFraction = -1;
  bool restNonZero = false;
  if (i < text.size() && text[i] == u'.') {
    ++i;
    for (; i < text.size() && IsDigit(text[i]); ++i, ++digits) {
      if (firstFraction < 0) {
        firstFraction = text[i] - u'0';
      } else if (text[i] != u'0') {
        restNonZero = true;
      }
    }
  }
  if (digits == 0 || i != text.size()) return DISP_E_TYPEMISMATCH;
  if (tooLarge) return DISP_E_OVERFLOW;
  if (firstFraction > 5 || (firstFraction == 5 && (restNonZero || magnitude % 2 != 0))) {
    ++magnitude;
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value < minimum || value > maximum) return DISP_E_OVERFLOW;
  *out = value;
  return S_OK;
}

HRESULT IntegerFromDate(DATE date, std::int64_t minimum, std::int64_t maximum, std::int64_t* out) {
  // nearbyint rounds half to even in the default rounding mode.
  const double rounded = std::nearbyint(date);
  if (!(rounded >= static_cast<double>(minimum) && rounded <= static_cast<double>(maximum))) {
    return DISP_E_OVERFLOW;
  }
  *out = static_cast<std::int64_t>(rounded);
  return S_OK;
}

HRESULT DateFromInteger(std::int64_t value, DATE* out) {
  if (value < kFirstDay || value > kLastDay) return DISP_E_OVERFLOW;
  *out = static_cast<double>(value);
  return S_OK;
}

// Reads exactly count digits at text[*pos].
std::optional<int> ReadDigits(std::u16string_view text, std::size_t* pos, std::size_t count) {
  if (text.size() - *pos < count) return std::nullopt;
  int value = 0;
  for (std::size_t k = 0; k < count; ++k) {
    const char16_t c = text[*pos + k];
    if (!IsDigit(c)) return std::nullopt;
    value = value * 10 + (c - u'0');
  }
  *pos += count;
  return value;
}

bool Expect(std::u16string_view text, std::size_t* pos, char16_t c) {
  if (*pos >= text.size() || text[*pos] != c) return false;
  ++*pos;
  return true;
}

HRESULT DateFromText(std::u16string_view text, DATE* out) {
  text = Trim(text);
  std::size_t pos = 0;
  com::DateFields fields;
  auto year = ReadDigits(text, &pos, 4);
  if (!year || !Expect(text, &pos, u'-')) return DISP_E_TYPEMISMATCH;
  auto month = ReadDigits(text, &pos, 2);
  if (!month || !Expect(text, &pos, u'-')) return DISP_E_TYPEMISMATCH;
  auto day = ReadDigits(text, &pos, 2);
  if (!day) return DISP_E_TYPEMISMATCH;
  fields.year = *year, fields.month = *month, fields.day = *day;
  if (pos < text.size()) {
    if (!Expect(text, &pos, u' ')) return DISP_E_TYPEMISMATCH;
    auto hour = ReadDigits(text, &pos, 2);
    if (!hour || !Expect(text, &pos, u':')) return DISP_E_TYPEMISMATCH;
    auto minute = ReadDigits(text, &pos, 2);
    if (!minute) return DISP_E_TYPEMISMATCH;
    fields.hour = *hour, fields.minute = *minute;
    if (pos < text.size()) {
      if (!Expect(text, &pos, u':')) return DISP_E_TYPEMISMATCH;
      auto second = ReadDigits(text, &pos, 2);
      if (!second) return DISP_E_TYPEMISMATCH;
      fields.second = *second;
    }
    if (pos != text.size()) return DISP_E_TYPEMISMATCH;
  }
  // Text must name a real calendar moment: no carrying of 31 April into May here.
  DATE date = 0;
  com::DateFields check;
  if (!com::DateFromFields(fields, &date) || !com::FieldsFromDate(date, &check) ||
      check != fields) {
    return DISP_E_TYPEMISMATCH;
  }
  *out = date;
  return S_OK;
}

HRESULT TextFromDate(DATE date, BSTR* out) {
  com::DateFields f;
  if (!com::FieldsFromDate(date, &f)) return DISP_E_OVERFLOW;
  char buffer[32];
  const int n = std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", f.year,
                              f.month, f.day, f.hour, f.minute, f.second);
  std::u16string text(buffer, buffer + n);
  *out = SysAllocStringLen(text.data(), static_cast<std::uint32_t>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT TextFromInteger(std::int64_t value, BSTR* out) {
  const std::string digits = std::to_string(value);
  const std::u16string text(digits.begin(), digits.end());
  *out = SysAllocStringLen(text.data(), static_cast<std::uint32_t>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

bool IsInteger(VARTYPE vt) {
  return vt == VT_I2 || vt == VT_I4;
}

std::int64_t IntegerOf(const VARIANT& v) {
  return v.vt == VT_I2 ? v.iVal : v.lVal;
}

// Stores an integer already checked against the target's range.
void SetInteger(VARIANT* v, VARTYPE vt, std::int64_t value) {
  v->vt = vt;
  if (vt == VT_I2) {
    v->iVal = static_cast<std::int16_t>(value);
  } else {
    v->lVal = static_cast<std::int32_t>(value);
  }
}

// The converted value into result (initialised, owned by the caller); src is not changed.
HRESULT Convert(const VARIANT& src, VARTYPE vt, VARIANT* result) {
  const std::int64_t minimum = vt == VT_I2 ? std::numeric_limits<std::int16_t>::min()
                                           : std::numeric_limits<std::int32_t>::min();
  const std::int64_t maximum = vt == VT_I2 ? std::numeric_limits<std::int16_t>::max()
                                           : std::numeric_limits<std::int32_t>::max();
  if (src.vt == VT_NULL) return DISP_E_TYPEMISMATCH;  // null stays null or nothing
  if (vt == VT_EMPTY) return S_OK;
  if (vt == VT_NULL) return DISP_E_TYPEMISMATCH;

  switch (src.vt) {
    case VT_EMPTY:
      switch (vt) {
        case VT_I2:
        case VT_I4:
          SetInteger(result, vt, 0);
          return S_OK;
        case VT_DATE:
          result->vt = VT_DATE;
          result->date = 0.0;
          return S_OK;
        case VT_BSTR:
          result->bstrVal = SysAllocStringLen(u"", 0);
          if (!result->bstrVal) return E_OUTOFMEMORY;
          result->vt = VT_BSTR;
          return S_OK;
        default:
          return DISP_E_TYPEMISMATCH;
      }
    case VT_I2:
    case VT_I4: {
      const std::int64_t value = IntegerOf(src);
      if (IsInteger(vt)) {
        if (value < minimum || value > maximum) return DISP_E_OVERFLOW;
        SetInteger(result, vt, value);
        return S_OK;
      }
      if (vt == VT_DATE) {
        HRESULT hr = DateFromInteger(value, &result->date);
        if (SUCCEEDED(hr)) result->vt = VT_DATE;
        return hr;
      }
      if (vt == VT_BSTR) {
        HRESULT hr = TextFromInteger(value, &result->bstrVal);
        if (SUCCEEDED(hr)) result->vt = VT_BSTR;
        return hr;
      }
      return DISP_E_TYPEMISMATCH;
    }
    case VT_DATE:
      if (IsInteger(vt)) {
        std::int64_t value = 0;
        HRESULT hr = IntegerFromDate(src.date, minimum, maximum, &value);
        if (SUCCEEDED(hr)) SetInteger(result, vt, value);
        return hr;
      }
      if (vt == VT_DATE) {
        result->vt = VT_DATE;
        result->date = src.date;
        return S_OK;
      }
      if (vt == VT_BSTR) {
        HRESULT hr = TextFromDate(src.date, &result->bstrVal);
        if (SUCCEEDED(hr)) result->vt = VT_BSTR;
        return hr;
      }
      return DISP_E_TYPEMISMATCH;
    case VT_BSTR:
      if (IsInteger(vt)) {
        std::int64_t value = 0;
        HRESULT hr = IntegerFromText(TextOf(src), minimum, maximum, &value);
        if (SUCCEEDED(hr)) SetInteger(result, vt, value);
        return hr;
      }
      if (vt == VT_DATE) {
        HRESULT hr = DateFromText(TextOf(src), &result->date);
        if (SUCCEEDED(hr)) result->vt = VT_DATE;
        return hr;
      }
      if (vt == VT_BSTR) return VariantCopy(result, &src);
      return DISP_E_TYPEMISMATCH;
    default:
      return DISP_E_TYPEMISMATCH;
  }
}

bool IsKnownType(VARTYPE vt) {
  switch (vt) {
    case VT_EMPTY:
    case VT_NULL:
    case VT_I2:
    case VT_I4:
    case VT_DATE:
    case VT_BSTR:
    case VT_DISPATCH:
    case VT_ERROR:
    case VT_BOOL:
    case VT_VARIANT:
    case VT_UNKNOWN:
      return true;
    default:
      return false;
  }
}

}  // namespace

HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, std::uint16_t /*flags*/, VARTYPE vt) {
  if (!dest || !src) return E_INVALIDARG;
  if (!IsKnownType(vt) || vt == VT_VARIANT) return DISP_E_BADVARTYPE;
  if (src->vt == VT_NULL && vt == VT_NULL) return VariantCopy(dest, src);
  // Values of other kinds (interfaces, errors, booleans) only copy to their own kind.
  const bool convertible = src->vt == VT_EMPTY || src->vt == VT_NULL || IsInteger(src->vt) ||
                           src->vt == VT_DATE || src->vt == VT_BSTR;
  if (!convertible) {
    return src->vt == vt ? VariantCopy(dest, src) : DISP_E_TYPEMISMATCH;
  }
  // Build the new value apart, so that a failure leaves dest (which may be src) untouched.
  VARIANT result;
  VariantInit(&result);
  HRESULT hr = Convert(*src, vt, &result);
  if (FAILED(hr)) {
    VariantClear(&result);
    return hr;
  }
  VariantClear(dest);
  *dest = result;
  return S_OK;
}
