#pragma once
// Readable text of a variant for call logs: VT_EMPTY, VT_NULL, VT_I2:5, VT_I4:-1, VT_DATE:45000.5,
// VT_BSTR:"text" (VT_BSTR:null for a null text), VT_UNKNOWN:set / VT_UNKNOWN:null, VT_<n> else.
#include <string>

#include "platform/com/variant.h"

namespace fakes {

std::string VariantText(const VARIANT& value);
inline std::string VariantText(const com::Variant& value) {
  return VariantText(value.Get());
}

}  // namespace fakes
