#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <variant>

#include "platform/com/date.h"
#include "platform/com/variant.h"

namespace {

using com::Variant;

// What a change is expected to give: a failure code or a value of the target type.
struct Expected {
  HRESULT hr;
  std::variant<std::monostate, std::int32_t, double, std::u16string> value;
};

struct Change {
  const char* name;
  Variant source;
  VARTYPE target;
  Expected expected;
};

Variant Text(const char16_t* text) {
  return Variant(std::u16string_view(text));
}
Variant Date(double value) {
  return Variant(com::DateTag{value});
}
Variant I2(std::int16_t value) {
  return Variant(value);
}
Variant I4(std::int32_t value) {
  return Variant(value);
}
Expected Ok(std::int32_t value) {
  return {S_OK, value};
}
Expected OkDate(double value) {
  return {S_OK, value};
}
Expected OkText(const char16_t* text) {
  return {S_OK, std::u16string(text)};
}
Expected OkEmpty() {
  return {S_OK, std::monostate{}};
}
Expected Fails(HRESULT hr) {
  return {hr, std::monostate{}};
}

void ExpectValue(const VARIANT& v, VARTYPE target, const Expected& expected) {
  ASSERT_EQ(v.vt, target);
  switch (target) {
    case VT_I2:
      EXPECT_EQ(v.iVal, std::get<std::int32_t>(expected.value));
      break;
    case VT_I4:
      EXPECT_EQ(v.lVal, std::get<std::int32_t>(expected.value));
      break;
    case VT_DATE:
      EXPECT_DOUBLE_EQ(v.date, std::get<double>(expected.value));
      break;
    case VT_BSTR:
      ASSERT_NE(v.bstrVal, nullptr);
      EXPECT_EQ(std::u16string(v.bstrVal, SysStringLen(v.bstrVal)),
                std::get<std::u16string>(expected.value));
      break;
    default:
      break;
  }
}

std::vector<Change> Changes() {
  const double k2004 = 38047.0 + 1.0 / 3.0;  // 2004-03-01 08:00:00
  return {
      // Empty
      {"empty to text", Variant(), VT_BSTR, OkText(u"")},
      {"empty to I2", Variant(), VT_I2, Ok(0)},
      {"empty to I4", Variant(), VT_I4, Ok(0)},
      {"empty to date", Variant(), VT_DATE, OkDate(0.0)},
      {"empty to empty", Variant(), VT_EMPTY, OkEmpty()},
      {"empty to null", Variant(), VT_NULL, Fails(DISP_E_TYPEMISMATCH)},
      // Null
      {"null to null", Variant(com::kNull), VT_NULL, OkEmpty()},
      {"null to text", Variant(com::kNull), VT_BSTR, Fails(DISP_E_TYPEMISMATCH)},
      {"null to I2", Variant(com::kNull), VT_I2, Fails(DISP_E_TYPEMISMATCH)},
      {"null to I4", Variant(com::kNull), VT_I4, Fails(DISP_E_TYPEMISMATCH)},
      {"null to date", Variant(com::kNull), VT_DATE, Fails(DISP_E_TYPEMISMATCH)},
      {"null to empty", Variant(com::kNull), VT_EMPTY, Fails(DISP_E_TYPEMISMATCH)},
      // Integers
      {"I4 to text", I4(-2147483647 - 1), VT_BSTR, OkText(u"-2147483648")},
      {"I2 to text", I2(42), VT_BSTR, OkText(u"42")},
      {"I4 zero to text", I4(0), VT_BSTR, OkText(u"0")},
      {"I2 to I4", I2(-32768), VT_I4, Ok(-32768)},
      {"I4 to I2 in range", I4(32767), VT_I2, Ok(32767)},
      {"I4 to I2 overflow", I4(32768), VT_I2, Fails(DISP_E_OVERFLOW)},
      {"I4 to I2 underflow", I4(-32769), VT_I2, Fails(DISP_E_OVERFLOW)},
      {"I4 to date", I4(38047), VT_DATE, OkDate(38047.0)},
      {"negative I2 to date", I2(-2), VT_DATE, OkDate(-2.0)},
      {"I4 beyond 9999 to date", I4(2958466), VT_DATE, Fails(DISP_E_OVERFLOW)},
      {"I4 before 100 to date", I4(-657435), VT_DATE, Fails(DISP_E_OVERFLOW)},
      {"I4 to null", I4(1), VT_NULL, Fails(DISP_E_TYPEMISMATCH)},
      {"I4 to empty", I4(1), VT_EMPTY, OkEmpty()},
      // Text to integers
      {"text to I4", Text(u"123"), VT_I4, Ok(123)},
      {"text with blanks and sign", Text(u"  -17 "), VT_I4, Ok(-17)},
      {"text with tab and plus", Text(u"\t+17"), VT_I2, Ok(17)},
      {"half rounds to even down", Text(u"2.5"), VT_I4, Ok(2)},
      {"half rounds to even up", Text(u"3.5"), VT_I4, Ok(4)},
      {"negative half to even", Text(u"-2.5"), VT_I4, Ok(-2)},
      {"negative half to even up", Text(u"-3.5"), VT_I2, Ok(-4)},
      {"more than half rounds up", Text(u"2.5000001"), VT_I4, Ok(3)},
      {"less than half rounds down", Text(u"2.4999999"), VT_I4, Ok(2)},
      {"fraction only", Text(u".6"), VT_I4, Ok(1)},
      {"trailing point", Text(u"7."), VT_I4, Ok(7)},
      {"leading zeros", Text(u"000000000000000000042"), VT_I2, Ok(42)},
      {"I4 maximum", Text(u"2147483647"), VT_I4, Ok(2147483647)},
      {"I4 minimum", Text(u"-2147483648"), VT_I4, Ok(-2147483647 - 1)},
      {"I4 overflow", Text(u"2147483648"), VT_I4, Fails(DISP_E_OVERFLOW)},
      {"I4 overflow by rounding", Text(u"2147483647.5"), VT_I4, Fails(DISP_E_OVERFLOW)},
      {"I4 huge", Text(u"99999999999999999999999"), VT_I4, Fails(DISP_E_OVERFLOW)},
      {"I2 maximum", Text(u"32767"), VT_I2, Ok(32767)},
      {"I2 overflow", Text(u"32768"), VT_I2, Fails(DISP_E_OVERFLOW)},
      {"I2 minimum by rounding", Text(u"-32768.5"), VT_I2, Ok(-32768)},
      {"I2 underflow by rounding", Text(u"-32768.51"), VT_I2, Fails(DISP_E_OVERFLOW)},
      {"empty text to I4", Text(u""), VT_I4, Fails(DISP_E_TYPEMISMATCH)},
      {"blank text to I4", Text(u"   "), VT_I4, Fails(DISP_E_TYPEMISMATCH)},
      {"sign only", Text(u"-"), VT_I4, Fails(DISP_E_TYPEMISMATCH)},
      {"point only", Text(u"."), VT_I4, Fails(DISP_E_TYPEMISMATCH)},
      {"letters", Text(u"abc"), VT_I4, Fails(DISP_E_TYPEMISMATCH)},
      {"trailing letters", Text(u"12abc"), VT_I4, Fails(DISP_E_TYPEMISMATCH)},
      {"inner blank", Text(u"1 2"), VT_I4, Fails(DISP_E_TYPEMISMATCH)},
      {"blank after sign", Text(u"- 5"), VT_I4, Fails(DISP_E_TYPEMISMATCH)},
      {"two points", Text(u"1.2.3"), VT_I4, Fails(DISP_E_TYPEMISMATCH)},
      {"huge garbage is not overflow", Text(u"99999999999999x"), VT_I4, Fails(DISP_E_TYPEMISMATCH)},
      // Dates and numbers
      {"date to I4 rounds half to even", Date(2.5), VT_I4, Ok(2)},
      {"date to I4 rounds half up to even", Date(3.5), VT_I4, Ok(4)},
      {"date to I4 rounds up", Date(k2004), VT_I4, Ok(38047)},
      {"negative date to I4", Date(-1.25), VT_I4, Ok(-1)},
      {"date to I2 overflow", Date(38047.0), VT_I2, Fails(DISP_E_OVERFLOW)},
      {"date to I2 maximum", Date(32767.4), VT_I2, Ok(32767)},
      {"date to date", Date(-1.25), VT_DATE, OkDate(-1.25)},
      // Dates and text
      {"date to text", Date(k2004), VT_BSTR, OkText(u"2004-03-01 08:00:00")},
      {"midnight to text keeps the time", Date(0.0), VT_BSTR, OkText(u"1899-12-30 00:00:00")},
      {"negative date to text", Date(-1.25), VT_BSTR, OkText(u"1899-12-29 06:00:00")},
      {"year 100 to text", Date(-657434.0), VT_BSTR, OkText(u"0100-01-01 00:00:00")},
      {"date outside range to text", Date(3e6), VT_BSTR, Fails(DISP_E_OVERFLOW)},
      {"text to date", Text(u"2004-03-01 08:00:00"), VT_DATE, OkDate(k2004)},
      {"text to date with blanks", Text(u" 2004-03-01 08:00:00 "), VT_DATE, OkDate(k2004)},
      {"date-only text", Text(u"1899-12-31"), VT_DATE, OkDate(1.0)},
      {"text without seconds", Text(u"1899-12-29 06:00"), VT_DATE, OkDate(-1.25)},
      {"text last second", Text(u"9999-12-31 23:59:59"), VT_DATE,
       OkDate(2958465.0 + 86399.0 / 86400.0)},
      {"text 31 April", Text(u"2004-04-31"), VT_DATE, Fails(DISP_E_TYPEMISMATCH)},
      {"text hour 24", Text(u"2004-04-01 24:00:00"), VT_DATE, Fails(DISP_E_TYPEMISMATCH)},
      {"text month 13", Text(u"2004-13-01"), VT_DATE, Fails(DISP_E_TYPEMISMATCH)},
      {"text year 99", Text(u"0099-12-31"), VT_DATE, Fails(DISP_E_TYPEMISMATCH)},
      {"text malformed", Text(u"2004/03/01"), VT_DATE, Fails(DISP_E_TYPEMISMATCH)},
      {"text cut short", Text(u"2004-03-01 08:0"), VT_DATE, Fails(DISP_E_TYPEMISMATCH)},
      {"text with tail", Text(u"2004-03-01 08:00:00x"), VT_DATE, Fails(DISP_E_TYPEMISMATCH)},
      {"number text to date", Text(u"38047"), VT_DATE, Fails(DISP_E_TYPEMISMATCH)},
      // Text to text
      {"text to text", Text(u"abc"), VT_BSTR, OkText(u"abc")},
      {"text to empty", Text(u"abc"), VT_EMPTY, OkEmpty()},
      // Kinds this runtime does not change
      {"I4 to boolean", I4(1), VT_BOOL, Fails(DISP_E_TYPEMISMATCH)},
      {"I4 to by-reference", I4(1), VT_I4 | VT_BYREF, Fails(DISP_E_BADVARTYPE)},
      {"I4 to unknown tag", I4(1), 0x7F, Fails(DISP_E_BADVARTYPE)},
  };
}

TEST(VariantChangeTypeTest, IntoASeparateDestination) {
  for (const Change& change : Changes()) {
    SCOPED_TRACE(change.name);
    Variant dest(u"untouched");
    HRESULT hr = VariantChangeType(dest.GetAddress(), &change.source.Get(), 0, change.target);
    ASSERT_EQ(hr, change.expected.hr);
    if (SUCCEEDED(hr)) {
      ExpectValue(dest.Get(), change.target, change.expected);
    } else {
      EXPECT_EQ(dest.TextView(), u"untouched");  // a failed change leaves dest alone
    }
  }
}

TEST(VariantChangeTypeTest, InPlace) {
  for (const Change& change : Changes()) {
    SCOPED_TRACE(change.name);
    Variant value(change.source);
    HRESULT hr = value.ChangeType(change.target);
    ASSERT_EQ(hr, change.expected.hr);
    if (SUCCEEDED(hr)) {
      ExpectValue(value.Get(), change.target, change.expected);
    } else {
      // The source is kept whole, text included.
      ASSERT_EQ(value.Type(), change.source.Type());
      if (value.IsText()) {
        EXPECT_EQ(value.TextView(), change.source.TextView());
      } else if (value.Type() == VT_I4) {
        EXPECT_EQ(value.Get().lVal, change.source.Get().lVal);
      } else if (value.Type() == VT_DATE) {
        EXPECT_EQ(value.Get().date, change.source.Get().date);
      }
    }
  }
}

TEST(VariantChangeTypeTest, TextToTextIsADeepCopyKeepingEmbeddedNulls) {
  const std::u16string text(u"a\0b", 3);
  Variant source{std::u16string_view(text)};
  Variant dest;
  ASSERT_EQ(VariantChangeType(dest.GetAddress(), &source.Get(), 0, VT_BSTR), S_OK);
  EXPECT_NE(dest.Get().bstrVal, source.Get().bstrVal);
  EXPECT_EQ(dest.TextView(), text);
}

TEST(VariantChangeTypeTest, NullTextCountsAsEmptyText) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = nullptr;
  Variant dest;
  EXPECT_EQ(VariantChangeType(dest.GetAddress(), &v, 0, VT_I4), DISP_E_TYPEMISMATCH);
  ASSERT_EQ(VariantChangeType(dest.GetAddress(), &v, 0, VT_BSTR), S_OK);
  EXPECT_EQ(dest.TextView(), u"");
}

TEST(VariantChangeTypeTest, DateTextRoundTripsThroughTheCalendar) {
  for (double value : {0.0, 1.0, -1.25, -36522.0, 38047.5, 2958465.0 + 86399.0 / 86400.0}) {
    Variant v{com::DateTag{value}};
    ASSERT_EQ(v.ChangeType(VT_BSTR), S_OK);
    ASSERT_EQ(v.ChangeType(VT_DATE), S_OK);
    EXPECT_DOUBLE_EQ(v.Get().date, value);
  }
}

TEST(VariantChangeTypeTest, NullArgumentsAreRefused) {
  Variant v(1);
  EXPECT_EQ(VariantChangeType(nullptr, &v.Get(), 0, VT_I4), E_INVALIDARG);
  EXPECT_EQ(VariantChangeType(v.GetAddress(), nullptr, 0, VT_I4), E_INVALIDARG);
}

}  // namespace
