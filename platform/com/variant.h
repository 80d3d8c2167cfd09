#pragma once
// Tagged values with the original type tags, and the automation date they carry.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/com/bstr.h"
#include "platform/com/unknown.h"

struct IDispatch;

using VARTYPE = std::uint16_t;
using DATE = double;
using VARIANT_BOOL = std::int16_t;
using SCODE = std::int32_t;

enum : VARTYPE {
  VT_EMPTY = 0,
  VT_NULL = 1,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_DATE = 7,
  VT_BSTR = 8,
  VT_DISPATCH = 9,
  VT_ERROR = 10,
  VT_BOOL = 11,
  VT_VARIANT = 12,
  VT_UNKNOWN = 13,
  VT_BYREF = 0x4000,
};

constexpr VARIANT_BOOL VARIANT_TRUE = -1;
constexpr VARIANT_BOOL VARIANT_FALSE = 0;

struct VARIANT {
  VARTYPE vt;
  std::uint16_t wReserved1, wReserved2, wReserved3;
  union {
    std::int16_t iVal;
    std::int32_t lVal;
    DATE date;
    BSTR bstrVal;
    IUnknown* punkVal;
    IDispatch* pdispVal;
    SCODE scode;
    VARIANT_BOOL boolVal;
    std::int16_t* piVal;
    std::int32_t* plVal;
    DATE* pdate;
    BSTR* pbstrVal;
    VARIANT* pvarVal;
    void* byref;
  };
};
using VARIANTARG = VARIANT;

// Flags of VariantChangeType (none are needed by this system; kept for the signature).
constexpr std::uint16_t VARIANT_NOVALUEPROP = 0x1;

void VariantInit(VARIANT* v);
// Frees what v owns (text, interface reference) and leaves it empty.
HRESULT VariantClear(VARIANT* v);
// Deep copy (a new text, a new reference); dest is cleared first.
HRESULT VariantCopy(VARIANT* dest, const VARIANT* src);
// Converts src to type vt into dest (which may be src). A failed change leaves dest untouched.
HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, std::uint16_t flags, VARTYPE vt);

namespace com {

struct DateTag {
  DATE value;
};
struct NullTag {};
inline constexpr NullTag kNull{};

// Owning wrapper of a VARIANT.
class Variant {
 public:
  Variant() { VariantInit(&v_); }
  Variant(NullTag) : Variant() { v_.vt = VT_NULL; }
  Variant(std::int16_t value) : Variant() { v_.vt = VT_I2, v_.iVal = value; }
  Variant(std::int32_t value) : Variant() { v_.vt = VT_I4, v_.lVal = value; }
  Variant(DateTag date) : Variant() { v_.vt = VT_DATE, v_.date = date.value; }
  // Text; throws std::bad_alloc when memory runs out.
  Variant(std::u16string_view text);
  Variant(const char16_t* text) : Variant(std::u16string_view(text ? text : u"")) {}
  Variant(const VARIANT& other);
  Variant(const Variant& other) : Variant(other.v_) {}
  Variant(Variant&& other) noexcept;
  Variant& operator=(const Variant& other);
  Variant& operator=(Variant&& other) noexcept;
  ~Variant() { VariantClear(&v_); }

  static Variant Utf8(std::string_view text);

  VARTYPE Type() const { return v_.vt; }
  const VARIANT& Get() const { return v_; }
  VARIANT* GetAddress() { return &v_; }
  // For out-parameters: clears what was held first.
  VARIANT* Out() {
    VariantClear(&v_);
    return &v_;
  }
  // Hands the value to *dest (which must be cleared) and leaves this empty.
  void Detach(VARIANT* dest);
  void Clear() { VariantClear(&v_); }

  HRESULT ChangeType(VARTYPE vt) { return VariantChangeType(&v_, &v_, 0, vt); }

  bool IsText() const { return v_.vt == VT_BSTR; }
  // The text of a VT_BSTR value (empty for a null BSTR or another type).
  std::u16string_view TextView() const;
  // The text as UTF-8; throws TextConversionError for unpaired surrogates.
  std::string TextUtf8() const;

 private:
  VARIANT v_;
};

}  // namespace com
