#pragma once
// Runs a member of the revision manager with the component's dialog-framework state in force and
// turns every raised error into the member's result code with the thread's error information.
#include <new>
#include <string>

#include "component/component_module_state.h"
#include "host/com_error.h"
#include "platform/ui/module_state.h"

namespace component {

// Sets error information for member's failure and returns its code.
HRESULT MemberFailed(const char* member, const ComError& error);
HRESULT MemberFailedOutOfMemory(const char* member);
HRESULT MemberFailedUnexpectedly(const char* member);

template <class Body>
HRESULT GuardMember(const char* member, Body&& body) noexcept {
  ui::ScopedModuleState state(ComponentModuleState());
  try {
    return body();
  } catch (const ComError& error) {
    return MemberFailed(member, error);
  } catch (const std::bad_alloc&) {
    return MemberFailedOutOfMemory(member);
  } catch (...) {
    return MemberFailedUnexpectedly(member);
  }
}

}  // namespace component
