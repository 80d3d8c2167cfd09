#include "servers/rvx/project.h"

#include "platform/com/utf.h"
#include "servers/rvx/access_control.h"
#include "servers/rvx/guarded_call.h"

namespace rvx {

Project::Project(std::shared_ptr<DatabaseSession> session, std::string name)
    : session_(std::move(session)), name_(std::move(name)) {}

HRESULT Project::Open(const std::shared_ptr<DatabaseSession>& session, std::u16string_view name,
                      IRvxProject** out) {
  if (!out)
    return Fail(E_POINTER, kSourceDatabase, u"No place for the project", IRvxDatabase::IID_);
  *out = nullptr;
  return GuardedCall(kSourceDatabase, IRvxDatabase::IID_, [&]() -> HRESULT {
    std::string utf8 = com::ToUtf8(name);
    auto found = session->Run([&](store::RevisionStore& s) { return s.FindProject(utf8); });
    if (!found) return S_FALSE;
    com::ComPtr<Project> project;
    HRESULT hr = com::Object<Project>::Create(&project, session, found->name);
    if (FAILED(hr)) return hr;
    *out = project.Detach();
    return S_OK;
  });
}

HRESULT Project::GetAccessControl(IRvxAccessControl** accessControl) {
  if (!accessControl) {
    return Fail(E_POINTER, kSourceProject, u"No place for the access control", IRvxProject::IID_);
  }
  *accessControl = nullptr;
  return GuardedCall(kSourceProject, IRvxProject::IID_, [&]() -> HRESULT {
    com::ComPtr<AccessControl> control;
    HRESULT hr = com::Object<AccessControl>::Create(&control, session_, name_);
    if (FAILED(hr)) return hr;
    *accessControl = control.Detach();
    return S_OK;
  });
}

HRESULT Project::InterfaceSupportsErrorInfo(REFIID iid) {
  return iid == IRvxProject::IID_ ? S_OK : S_FALSE;
}

}  // namespace rvx
