#pragma once
// The calling thread's error information, taken (and so cleared), as "source|description"; "none"
// when there is none.
#include <string>

#include "platform/com/bstr.h"
#include "platform/com/error_info.h"
#include "platform/com/unknown.h"

namespace test_support {

inline std::string TakeErrorText() {
  com::ComPtr<IErrorInfo> info;
  if (GetErrorInfo(0, &info) != S_OK || !info) return "none";
  com::BStr source, description;
  info->GetSource(&source);
  info->GetDescription(&description);
  return source.ToUtf8() + "|" + description.ToUtf8();
}

}  // namespace test_support
