#include "component/member_guard.h"

#include <cstdio>

#include "component/rev_manager.h"
#include "platform/com/error_info.h"
#include "platform/com/utf.h"

namespace component {

namespace {
// Error information is best effort: without memory for it the code alone goes back.
void SetMemberErrorInfo(const std::u16string& description) noexcept {
  try {
    com::SetThreadErrorInfo(kRevManagerErrorSource, description, IID_IRevManager);
  } catch (...) {
  }
}
}  // namespace

HRESULT MemberFailed(const char* member, const ComError& error) {
  const HRESULT code = error.Error();
  try {
    char number[16];
    std::snprintf(number, sizeof number, "0x%08X", static_cast<unsigned>(code));
    const std::string operation =
        error.Operation().empty() ? std::string("a call of a closed component") : error.Operation();
    std::u16string description =
        com::ToUtf16(std::string(member) + " failed: " + operation + " returned " + number);
    const std::u16string detail = error.Description();
    if (!detail.empty()) description += u": " + detail;
    SetMemberErrorInfo(description);
  } catch (...) {
    SetMemberErrorInfo(u"");
  }
  return code;
}

HRESULT MemberFailedOutOfMemory(const char* member) {
  try {
    SetMemberErrorInfo(com::ToUtf16(std::string(member) + " failed: out of memory"));
  } catch (...) {
  }
  return E_OUTOFMEMORY;
}

HRESULT MemberFailedUnexpectedly(const char* member) {
  try {
    SetMemberErrorInfo(com::ToUtf16(std::string(member) + " failed unexpectedly"));
  } catch (...) {
  }
  return E_UNEXPECTED;
}

}  // namespace component
