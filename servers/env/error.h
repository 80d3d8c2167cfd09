#pragma once
// Failing calls leave error information for the caller: the source names the failing object's
// class, the description the cause.
#include <string_view>

#include "platform/com/error_info.h"
#include "platform/com/guid.h"
#include "platform/com/result.h"

namespace env {

inline constexpr std::u16string_view kSourceRegistry = u"EnvService.Registry";
inline constexpr std::u16string_view kSourceEnvironment = u"EnvService.Environment";

// Sets the calling thread's error information and returns hr.
inline HRESULT Fail(HRESULT hr, std::u16string_view source, std::u16string_view description,
                    const GUID& iid) {
  com::SetThreadErrorInfo(source, description, iid);
  return hr;
}

}  // namespace env
