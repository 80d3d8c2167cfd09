// Commands that install the modules and prepare projects.
#include <iostream>

#include "apps/revmgr/commands.h"
#include "apps/revmgr/component_session.h"
#include "platform/com/module_loader.h"
#include "servers/store/generator.h"
#include "servers/store/project_setup.h"
#include "servers/store/revision_store.h"
#include "servers/store/store_error.h"

namespace revmgr {

namespace {

// The stand-in servers first, so that the component finds them registered.
constexpr const char* kModules[] = {"libEnvService.so", "libRvxServer.so", "libVnQuerySrv.so",
                                    "libVNMORMgr.so"};

int RunOnModules(const char* exportName, const char* done) {
  int status = kExitOk;
  for (const char* name : kModules) {
    const auto path = ModulesFolder() / name;
    std::string error;
    const HRESULT hr = com::CallModuleExport(path, exportName, &error);
    if (FAILED(hr)) {
      char code[16];
      std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(hr));
      std::cerr << "revmgr: " << exportName << " of " << path.string() << " failed (" << code << ")"
                << (error.empty() ? "" : ": " + error) << "\n";
      status = kExitFailed;
      continue;
    }
    std::cout << done << " " << path.string() << "\n";
  }
  return status;
}

std::unique_ptr<store::RevisionStore> OpenStore(const std::string& project) {
  std::string error;
  auto opened = store::OpenProjectStore(project, &error);
  if (!opened) std::cerr << "revmgr: cannot open project " << project << ": " << error << "\n";
  return opened;
}

}  // namespace

int Register(const Args& args) {
  CommandLine line(args, {}, {});
  if (!line.Positional().empty()) throw UsageError("register takes no arguments");
  return RunOnModules("DllRegisterServer", "registered");
}

int Unregister(const Args& args) {
  CommandLine line(args, {}, {});
  if (!line.Positional().empty()) throw UsageError("unregister takes no arguments");
  return RunOnModules("DllUnregisterServer", "unregistered");
}

int Init(const Args& args) {
  CommandLine line(args, {"mode", "store"}, {});
  const std::string& project = line.Require(0, "PROJECT");
  const std::string mode = line.Value("mode").value_or("extended");
  if (mode != "basic" && mode != "extended") throw UsageError("--mode is basic or extended");
  std::string location = line.Value("store").value_or("");
  if (!location.empty() && location.find(':') == std::string::npos) {
    std::error_code ec;
    location = "sqlite:" + std::filesystem::absolute(location, ec).string();
  }
  std::string error;
  auto made = store::SetUpProject(project, mode == "basic" ? store::kBasicRvx : store::kExtendedRvx,
                                  {}, location, &error);
  if (!made) {
    std::cerr << "revmgr: cannot create project " << project << ": " << error << "\n";
    return kExitFailed;
  }
  std::cout << "project " << project << " (" << mode << ") ready\n";
  return kExitOk;
}

int Generate(const Args& args) {
  CommandLine line(args, {"revisions", "seed"}, {});
  const std::string& project = line.Require(0, "PROJECT");
  store::GeneratorOptions options;
  auto revisions = line.Number("revisions", 1, 100000000);
  if (!revisions) throw UsageError("--revisions N is required");
  options.revisionCount = *revisions;
  options.seed = static_cast<std::uint64_t>(line.Number("seed", 0, INT64_MAX).value_or(1));
  auto opened = OpenStore(project);
  if (!opened) return kExitFailed;
  const auto summary = store::GenerateRevisions(*opened, options);
  std::cout << summary.revisions << " revisions of " << summary.objects << " objects added to "
            << project << "\n";
  return kExitOk;
}

int GrantFunction(const Args& args) {
  CommandLine line(args, {}, {});
  const std::string& project = line.Require(0, "PROJECT");
  const std::string& user = line.Require(1, "USER");
  const std::string& function = line.Require(2, "FUNCTION");
  auto opened = OpenStore(project);
  if (!opened) return kExitFailed;
  opened->Begin();
  opened->Grant(project, user, function);
  opened->Commit();
  std::cout << "granted " << function << " to " << user << " in " << project << "\n";
  return kExitOk;
}

}  // namespace revmgr
