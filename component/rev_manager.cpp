#include "component/rev_manager.h"

#include <atomic>

#include "component/member_guard.h"
#include "component/rev_manager_sheet.h"
#include "component/revision_package.h"
#include "host/access_control.h"
#include "host/function_names.h"
#include "host/project_info.h"
#include "host/xd186.h"
#include "services/env.h"

namespace component {

namespace {

std::atomic<ModuleLockFunction> g_lock{nullptr};
std::atomic<ModuleLockFunction> g_unlock{nullptr};

HRESULT ReportConstructionFailure(const char16_t* message, HRESULT code) {
  com::SetThreadErrorInfo(kRevManagerErrorSource, message, GUID_NULL);
  return code;
}

com::Variant TextOrEmpty(BSTR text) {
  return com::Variant(std::u16string_view(text ? text : u"", SysStringLen(text)));
}

}  // namespace

void SetRevManagerModuleLock(ModuleLockFunction lock, ModuleLockFunction unlock) {
  g_lock = lock;
  g_unlock = unlock;
}

// The handle is an empty text until ObjectHandle is set, so that a call before it binds an empty
// text handle.
RevManager::RevManager() : objectHandle_(u"") {}

RevManager::~RevManager() {
  objectHandle_.Clear();
  revisionName_.Clear();
  revisionRemark_.Clear();
  if (holdsModuleLock_) {
    if (ModuleLockFunction unlock = g_unlock.load()) unlock();
  }
}

HRESULT RevManager::FinalConstruct() {
  if (ModuleLockFunction lock = g_lock.load()) {
    lock();
    holdsModuleLock_ = true;
  }
  return RunConstructionChecks();
}

HRESULT RevManager::RunConstructionChecks() {
  ui::ScopedModuleState state(ComponentModuleState());
  try {
    if (GetRvxMode() != kRvxModeExtended) {
      return ReportConstructionFailure(u"This is no RVX enabled project", E_ACCESSDENIED);
    }
    if (!CheckFunctionAccess(kFunctionRevisionManagement)) {
      return ReportConstructionFailure(u"You are not authorized to run this program.",
                                       E_ACCESSDENIED);
    }
    if (!GetProject()) return ReportConstructionFailure(u"GetProject failed", E_FAIL);
    return S_OK;
  } catch (const ComError& error) {
    return MemberFailed("RevManager construction", error);
  } catch (const std::bad_alloc&) {
    return MemberFailedOutOfMemory("RevManager construction");
  } catch (...) {
    return MemberFailedUnexpectedly("RevManager construction");
  }
}

bool RevManager::AttachDatabase() {
  if (database_) return true;
  com::ComPtr<IEnvVariables> env = xd186_env();
  if (!env) return false;
  com::ComPtr<IEnvDatabaseLink> link;
  if (FAILED(env.As(&link)) || !link) return false;
  com::ComPtr<IUnknown> database;
  if (FAILED(link->GetDatabase(&database)) || !database) return false;
  database.As(&database_);
  return static_cast<bool>(database_);
}

void RevManager::EnsureProjectName() {
  if (!projectName_.Empty()) return;
  char name[kEnvValueBufferSize];
  if (GetProjectInfo(name, nullptr, nullptr, nullptr, nullptr)) {
    projectName_ = com::BStr::FromUtf8(name);
  } else {
    projectName_ = com::BStr(u" ");
  }
}

bool RevManager::GetProject() {
  if (!database_ && !AttachDatabase()) return false;
  if (project_) return true;
  EnsureProjectName();
  HRESULT hr = database_->GetCurrentProject(&project_);
  if (FAILED(hr)) {
    hr = database_->OpenProject(projectName_.Get(), &project_);
    if (FAILED(hr)) {
      project_.Reset();
      return false;
    }
  }
  // S_FALSE means no project; so does a success that hands out none.
  if (hr == S_FALSE || !project_) {
    project_.Reset();
    return false;
  }
  return true;
}

HRESULT RevManager::put_ObjectHandle(BSTR newVal) {
  return GuardMember("ObjectHandle", [&] {
    objectHandle_ = TextOrEmpty(newVal);
    return S_OK;
  });
}

HRESULT RevManager::Delete(BSTR newVal) {
  return GuardMember("Delete", [&] {
    if (!CheckFunctionAccess(kFunctionRevisionManagement)) {
      SetErrorInfo(0, nullptr);  // a refusal carries no error information
      return E_FAIL;
    }
    const DeleteOutcome outcome = DeleteRevision({Project(), Database()}, TextOrEmpty(newVal));
    return outcome == DeleteOutcome::Deleted ? S_OK : E_FAIL;
  });
}

HRESULT RevManager::ShowRevManagerDlg() {
  return GuardMember("ShowRevManagerDlg", [] {
    if (RevManagerSheetRunner runner = CurrentRevManagerSheetRunner()) runner();
    return S_OK;
  });
}

HRESULT RevManager::Rename(BSTR newRevisionName, BSTR newRevisionRemark) {
  return GuardMember("Rename", [&] {
    // Refused: nothing is stored or changed, and the caller is told so.
    if (!CheckFunctionAccess(kFunctionRevisionManagement)) return S_FALSE;
    revisionRemark_ = TextOrEmpty(newRevisionRemark);
    revisionName_ = TextOrEmpty(newRevisionName);
    return RunRenameSequence({Project(), Database()}, objectHandle_, revisionName_,
                             revisionRemark_);
  });
}

HRESULT RevManager::GetOldestRevision(BSTR* pObjectHandle, BSTR* pRevisionName,
                                      BSTR* pRevisionRemark) {
  return GuardMember("GetOldestRevision", [&] {
    const OldestOutcome outcome =
        component::GetOldestRevision({Project(), Database()}, objectHandle_);
    if (!outcome.executed) return S_FALSE;
    // Copies are made first, so that running out of memory changes no output.
    com::BStr handle, name, remark;
    auto copy = [](const std::optional<com::Variant>& from, com::BStr& to) {
      if (!from) return;
      to = com::BStr(from->TextView());
      if (to.IsNull()) throw std::bad_alloc();
    };
    copy(outcome.objectHandle, handle);
    copy(outcome.revisionName, name);
    copy(outcome.revisionRemark, remark);
    if (outcome.objectHandle && pObjectHandle) *pObjectHandle = handle.Detach();
    if (outcome.revisionName && pRevisionName) *pRevisionName = name.Detach();
    if (outcome.revisionRemark && pRevisionRemark) *pRevisionRemark = remark.Detach();
    return S_OK;
  });
}

HRESULT RevManager::GetRevisionCount(std::int32_t* count) {
  return GuardMember("GetRevisionCount", [&] {
    if (!count) return E_POINTER;
    const CountOutcome outcome =
        component::GetRevisionCount({Project(), Database()}, objectHandle_);
    if (!outcome.executed) return S_FALSE;
    if (outcome.count) *count = *outcome.count;
    return S_OK;
  });
}

HRESULT RevManager::InterfaceSupportsErrorInfo(REFIID iid) {
  return iid == IID_IRevManager ? S_OK : S_FALSE;
}

DirectRevManager::DirectRevManager() : constructionResult_(RunConstructionChecks()) {}

HRESULT CreateRevManager(IUnknown* outer, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (outer && iid != IUnknown::IID_) return CLASS_E_NOAGGREGATION;
  try {
    if (!outer) {
      com::ComPtr<RevManager> instance;
      const HRESULT hr = com::Object<RevManager>::Create(&instance);
      if (FAILED(hr)) return hr;
      // A refused interface releases the only reference, destroying the instance.
      return instance->QueryInterface(iid, object);
    }
    com::ComPtr<IUnknown> inner;
    const HRESULT hr = com::Aggregated<RevManager>::Create(outer, &inner);
    if (FAILED(hr)) return hr;
    *object = inner.Detach();
    return S_OK;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

}  // namespace component
