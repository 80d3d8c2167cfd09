#include "servers/rvx/database.h"

#include "servers/rvx/guarded_call.h"
#include "servers/rvx/project.h"

namespace rvx {

Database::Database(std::shared_ptr<DatabaseSession> session) : session_(std::move(session)) {}

HRESULT Database::Create(std::shared_ptr<DatabaseSession> session, IRvxDatabase** out) {
  com::ComPtr<Database> database;
  HRESULT hr = com::Object<Database>::Create(&database, std::move(session));
  if (FAILED(hr)) return hr;
  *out = database.Detach();
  return S_OK;
}

HRESULT Database::Connect() {
  // The store is connected from the moment the database is opened.
  return S_OK;
}

HRESULT Database::OpenProject(BSTR projectName, IRvxProject** project) {
  if (!project)
    return Fail(E_POINTER, kSourceDatabase, u"No place for the project", IRvxDatabase::IID_);
  *project = nullptr;
  if (SysStringLen(projectName) == 0) {
    return Fail(E_INVALIDARG, kSourceDatabase, u"No project name given", IRvxDatabase::IID_);
  }
  return Project::Open(session_, {projectName, SysStringLen(projectName)}, project);
}

HRESULT Database::GetCurrentProject(IRvxProject** project) {
  if (!project)
    return Fail(E_POINTER, kSourceDatabase, u"No place for the project", IRvxDatabase::IID_);
  return Project::Open(session_, session_->ProjectName(), project);
}

HRESULT Database::SetConnectText(BSTR /*text*/) {
  // The project list says where the store is; a connect text adds nothing.
  return S_OK;
}

HRESULT Database::Commit() {
  return GuardedCall(kSourceDatabase, IRvxDatabase::IID_, [&]() -> HRESULT {
    session_->Run([](store::RevisionStore& s) {
      if (s.InTransaction()) s.Commit();
    });
    return S_OK;
  });
}

HRESULT Database::InterfaceSupportsErrorInfo(REFIID iid) {
  return iid == IRvxDatabase::IID_ ? S_OK : S_FALSE;
}

}  // namespace rvx
