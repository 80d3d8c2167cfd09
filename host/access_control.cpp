#include "host/access_control.h"
#include "host/module_wide_state.h"

#include <mutex>
#include <new>

#include "host/com_error.h"
#include "host/function_names.h"
#include "host/project_info.h"
#include "host/xd186.h"
#include "platform/com/class_object.h"
#include "platform/com/utf.h"
#include "platform/com/variant.h"

namespace {

// Guards the answer cache: host threads may check at the same time. Not held while the server is
// asked or a report is shown.
struct GuardedCache {
  std::mutex mutex;
  AccessCache cache;
};

GuardedCache& Cache() {
  static GuardedCache cache;
  return cache;
}

std::optional<bool> Cached(std::int32_t code) {
  std::lock_guard lock(Cache().mutex);
  auto it = Cache().cache.find(code);
  if (it == Cache().cache.end()) return std::nullopt;
  return it->second;
}

bool Cache(std::int32_t code, bool answer) {
  std::lock_guard lock(Cache().mutex);
  Cache().cache[code] = answer;
  return answer;
}

// Takes the project out of an Open/GetCurrentProject result: S_FALSE means no project.
void CheckProjectResult(const char* operation, HRESULT hr, IUnknown* database,
                        com::ComPtr<IRvxProject>& project) {
  if (FAILED(hr)) RaiseComErrorIn(operation, hr, database, IRvxDatabase::IID_);
  if (hr == S_FALSE) project.Reset();
}

}  // namespace

void host_detail::TouchAccessCache() {
  Cache();
}

bool CreateAccessControl(const char* projectName, com::ComPtr<IRvxAccessControl>& holder) {
  holder.Reset();
  com::ComPtr<IRvxServer> server;
  if (FAILED(com::CreateRunning<IRvxServer>(CLSID_RvxServer, &server)) || !server) return false;
  try {
    const com::BStr name = com::BStr::FromUtf8(projectName ? projectName : "");
    com::Variant nameVariant(name.View());
    com::ComPtr<IRvxDatabase> database;
    HRESULT hr = server->FindDatabase(nameVariant.Get(), &database);
    if (FAILED(hr)) RaiseComErrorIn("FindDatabase", hr, server.Get(), IRvxServer::IID_);
    com::ComPtr<IRvxProject> project;
    if (database) {
      hr = database->GetCurrentProject(&project);
      CheckProjectResult("GetCurrentProject", hr, database.Get(), project);
    } else {
      hr = server->OpenDatabase(name.Get(), &database);
      if (FAILED(hr)) RaiseComErrorIn("OpenDatabase", hr, server.Get(), IRvxServer::IID_);
      if (!database) RaiseComErrorIn("OpenDatabase", E_POINTER);
      const com::BStr empty(u"");
      database->SetConnectText(empty.Get());  // status ignored
      hr = database->Connect();
      if (FAILED(hr)) RaiseComErrorIn("Connect", hr, database.Get(), IRvxDatabase::IID_);
      hr = database->OpenProject(name.Get(), &project);
      CheckProjectResult("OpenProject", hr, database.Get(), project);
    }
    if (!project) return false;
    hr = project->GetAccessControl(&holder);
    if (FAILED(hr)) RaiseComErrorIn("GetAccessControl", hr, project.Get(), IRvxProject::IID_);
    return static_cast<bool>(holder);
  } catch (const ComError&) {
  } catch (const std::bad_alloc&) {
  } catch (const com::TextConversionError&) {
  }
  holder.Reset();
  return false;
}

bool OpenAccessControl(com::ComPtr<IRvxAccessControl>& holder) {
  char projectName[kEnvValueBufferSize];
  if (!GetProjectInfo(projectName, nullptr, nullptr, nullptr, nullptr)) return false;
  return CreateAccessControl(projectName, holder);
}

bool CheckFunctionAccess(std::int32_t code) {
  try {
    BuildFunctionNameTable();
  } catch (const std::bad_alloc&) {
    // Without the table no name can be found: like a failing server, reported below.
  }
  if (auto cached = Cached(code)) return *cached;

  int rvx = 0;
  GetProjectInfo(nullptr, nullptr, nullptr, nullptr, &rvx);
  if (rvx == 0) return Cache(code, true);

  bool answer = true;
  try {
    com::ComPtr<IRvxAccessControl> accessControl;
    if (!OpenAccessControl(accessControl)) return false;  // not cached: asked again next time
    const char* name = FunctionNameOf(code);
    if (!name) return Cache(code, false);
    const com::BStr wideName = com::BStr::FromUtf8(name);
    std::int32_t allowed = 0;
    const HRESULT hr = accessControl->IsFunctionAllowed(wideName.Get(), &allowed);
    if (FAILED(hr)) {
      RaiseComErrorIn("IsFunctionAllowed", hr, accessControl.Get(), IRvxAccessControl::IID_);
    }
    if (allowed == 0) answer = false;
  } catch (const ComError& error) {
    ReportComError(error, 309, "BasAccessCtrl", "Functional access control failed");
    answer = true;
  } catch (const std::bad_alloc&) {
    ReportComError(ComError(E_OUTOFMEMORY), 309, "BasAccessCtrl",
                   "Functional access control failed");
    answer = true;
  }
  return Cache(code, answer);
}

AccessCache CachedAccessAnswers() {
  std::lock_guard lock(Cache().mutex);
  return Cache().cache;
}

void ResetAccessCacheForTesting() {
  std::lock_guard lock(Cache().mutex);
  Cache().cache.clear();
}
