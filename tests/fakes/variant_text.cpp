#include "tests/fakes/variant_text.h"

#include <cstdio>

#include "platform/com/utf.h"

namespace fakes {

std::string VariantText(const VARIANT& value) {
  switch (value.vt) {
    case VT_EMPTY:
      return "VT_EMPTY";
    case VT_NULL:
      return "VT_NULL";
    case VT_I2:
      return "VT_I2:" + std::to_string(value.iVal);
    case VT_I4:
      return "VT_I4:" + std::to_string(value.lVal);
    case VT_DATE: {
      char buffer[64];
      std::snprintf(buffer, sizeof buffer, "VT_DATE:%.9g", value.date);
      return buffer;
    }
    case VT_BSTR: {
      if (!value.bstrVal) return "VT_BSTR:null";
      auto utf8 = com::TryToUtf8({value.bstrVal, SysStringLen(value.bstrVal)});
      return "VT_BSTR:\"" + utf8.value_or("<invalid UTF-16>") + "\"";
    }
    case VT_UNKNOWN:
    case VT_DISPATCH:
      return std::string(value.vt == VT_UNKNOWN ? "VT_UNKNOWN:" : "VT_DISPATCH:") +
             (value.punkVal ? "set" : "null");
    default:
      return "VT_" + std::to_string(value.vt);
  }
}

}  // namespace fakes
