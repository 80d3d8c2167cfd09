// Commands that call one member of the component on one revision.
#include <iostream>

#include "apps/revmgr/commands.h"
#include "apps/revmgr/component_session.h"
#include "platform/com/bstr.h"

namespace revmgr {

namespace {

// The component for the project of the command line, with its object handle set.
com::ComPtr<IRevManager> ManagerFor(const CommandLine& line, const std::string& handle) {
  EnterProject(ProjectOf(line));
  SendMessageBoxesToStandardError(false);
  std::string why;
  auto manager = CreateRevManager(&why);
  if (!manager) {
    std::cerr << "revmgr: " << why << "\n";
    return nullptr;
  }
  manager->put_ObjectHandle(com::BStr::FromUtf8(handle).Get());
  return manager;
}

}  // namespace

int Count(const Args& args) {
  CommandLine line(args, {"project"}, {});
  auto manager = ManagerFor(line, line.Require(0, "HANDLE"));
  if (!manager) return kExitFailed;
  std::int32_t count = 0;
  if (manager->GetRevisionCount(&count) != S_OK) {
    std::cerr << "revmgr: the revisions could not be counted\n";
    return kExitFailed;
  }
  std::cout << count << "\n";
  return kExitOk;
}

int Oldest(const Args& args) {
  CommandLine line(args, {"project"}, {});
  auto manager = ManagerFor(line, line.Require(0, "HANDLE"));
  if (!manager) return kExitFailed;
  com::BStr handle, name, remark;
  if (manager->GetOldestRevision(&handle, &name, &remark) != S_OK) {
    std::cerr << "revmgr: the oldest revision could not be read\n";
    return kExitFailed;
  }
  if (handle.Empty()) {
    std::cerr << "revmgr: the object has no revisions\n";
    return kExitFailed;
  }
  std::cout << handle.ToUtf8() << "\t" << name.ToUtf8() << "\t" << remark.ToUtf8() << "\n";
  return kExitOk;
}

int Rename(const Args& args) {
  CommandLine line(args, {"project"}, {});
  const std::string& handle = line.Require(0, "HANDLE");
  const std::string& name = line.Require(1, "NAME");
  const std::string remark = line.Positional().size() > 2 ? line.Positional()[2] : "";
  auto manager = ManagerFor(line, handle);
  if (!manager) return kExitFailed;
  const HRESULT hr =
      manager->Rename(com::BStr::FromUtf8(name).Get(), com::BStr::FromUtf8(remark).Get());
  if (hr != S_OK) {
    std::cerr << "revmgr: revision " << handle << " was not renamed\n";
    return kExitFailed;
  }
  std::cout << "renamed " << handle << "\n";
  return kExitOk;
}

int Delete(const Args& args) {
  CommandLine line(args, {"project"}, {});
  const std::string& handle = line.Require(0, "HANDLE");
  auto manager = ManagerFor(line, handle);
  if (!manager) return kExitFailed;
  if (manager->Delete(com::BStr::FromUtf8(handle).Get()) != S_OK) {
    std::cerr << "revmgr: revision " << handle
              << " was not deleted (no such revision, the latest one, or not allowed)\n";
    return kExitFailed;
  }
  std::cout << "deleted " << handle << "\n";
  return kExitOk;
}

}  // namespace revmgr
