#include "servers/rvx/access_control.h"

#include "platform/com/utf.h"
#include "servers/rvx/current_user.h"
#include "servers/rvx/guarded_call.h"

namespace rvx {

AccessControl::AccessControl(std::shared_ptr<DatabaseSession> session, std::string project)
    : session_(std::move(session)), project_(std::move(project)) {}

HRESULT AccessControl::IsFunctionAllowed(BSTR functionName, std::int32_t* allowed) {
  if (!allowed)
    return Fail(E_POINTER, kSourceAccessControl, u"No place for the answer",
                IRvxAccessControl::IID_);
  *allowed = 0;
  if (SysStringLen(functionName) == 0) {
    return Fail(E_INVALIDARG, kSourceAccessControl, u"No function name given",
                IRvxAccessControl::IID_);
  }
  return GuardedCall(kSourceAccessControl, IRvxAccessControl::IID_, [&]() -> HRESULT {
    std::string function = com::ToUtf8({functionName, SysStringLen(functionName)});
    std::string user = CurrentUserName();
    bool granted = session_->Run(
        [&](store::RevisionStore& s) { return s.IsFunctionGranted(project_, user, function); });
    *allowed = granted ? 1 : 0;
    return S_OK;
  });
}

HRESULT AccessControl::InterfaceSupportsErrorInfo(REFIID iid) {
  return iid == IRvxAccessControl::IID_ ? S_OK : S_FALSE;
}

}  // namespace rvx
