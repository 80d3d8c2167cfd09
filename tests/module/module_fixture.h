#pragma once
// The component module loaded as a host's runtime loads it, in a product home of its own with
// the stand-in servers registered, and a project of the chosen mode and grants.
#include <dlfcn.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "component/rev_manager_interface.h"
#include "platform/com/class_object.h"
#include "platform/com/error_info.h"
#include "platform/com/module_loader.h"
#include "servers/rvx/current_user.h"
#include "servers/store/generator.h"
#include "servers/store/handle.h"
#include "servers/store/project_list.h"
#include "servers/store/project_setup.h"
#include "servers/store/revision_store.h"
#include "tests/com/registry_test_home.h"
#include "tests/support/error_text.h"
#include "tests/support/variable_scope.h"

namespace module_test {

inline std::filesystem::path ModuleFile(const char* name) {
  return std::filesystem::path(REVMGR_MODULE_DIR) / name;
}

// The module's four exports, found with dlsym in the loaded file.
struct ModuleExports {
  HRESULT (*canUnloadNow)() = nullptr;
  HRESULT (*getClassObject)(REFCLSID, REFIID, void**) = nullptr;
  HRESULT (*registerServer)() = nullptr;
  HRESULT (*unregisterServer)() = nullptr;
};

class LoadedComponent {
 public:
  LoadedComponent() {
    handle_ = ::dlopen(ModuleFile("libVNMORMgr.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) return;
    exports_.canUnloadNow = reinterpret_cast<HRESULT (*)()>(::dlsym(handle_, "DllCanUnloadNow"));
    exports_.getClassObject = reinterpret_cast<HRESULT (*)(REFCLSID, REFIID, void**)>(
        ::dlsym(handle_, "DllGetClassObject"));
    exports_.registerServer =
        reinterpret_cast<HRESULT (*)()>(::dlsym(handle_, "DllRegisterServer"));
    exports_.unregisterServer =
        reinterpret_cast<HRESULT (*)()>(::dlsym(handle_, "DllUnregisterServer"));
  }
  ~LoadedComponent() {
    if (handle_) ::dlclose(handle_);
  }
  LoadedComponent(const LoadedComponent&) = delete;
  LoadedComponent& operator=(const LoadedComponent&) = delete;

  bool Complete() const {
    return exports_.canUnloadNow && exports_.getClassObject && exports_.registerServer &&
           exports_.unregisterServer;
  }
  const ModuleExports& Exports() const { return exports_; }

 private:
  void* handle_ = nullptr;
  ModuleExports exports_;
};

using VariableScope = test_support::VariableScope;

class ModuleTest : public ::testing::Test {
 protected:
  static constexpr char kProject[] = "MODULE_TEST";

  void SetUp() override {
    ASSERT_TRUE(component_.Complete());
    for (const char* server : {"libEnvService.so", "libRvxServer.so", "libVnQuerySrv.so"}) {
      std::string error;
      ASSERT_EQ(com::CallModuleExport(ModuleFile(server), "DllRegisterServer", &error), S_OK)
          << server << ": " << error;
    }
    variables_.Set("_#INT#_PROJECT", kProject);
    variables_.Set("_#INT#_RVXPROJECT", "1");
  }

  // A project in the given mode whose user holds the revision management function or not,
  // with a few generated revisions.
  void MakeProject(const char* mode, bool granted, std::int64_t revisions = 200) {
    std::vector<store::FunctionGrant> grants;
    if (granted) grants.push_back({rvx::CurrentUserName(), "mor.revisionmgmnt"});
    std::string error;
    auto setup = store::SetUpProject(kProject, mode, grants, {}, &error);
    ASSERT_TRUE(setup) << error;
    store::GeneratorOptions options;
    options.seed = 11;
    options.revisionCount = revisions;
    store::GenerateRevisions(*setup, options);
  }

  // An object of its own with the given number of revisions; their handles, oldest first.
  std::vector<std::string> AddObject(const std::string& name, int revisions) {
    std::string error;
    auto opened = store::OpenProjectStore(kProject, &error);
    EXPECT_TRUE(opened) << error;
    if (!opened) return {};
    opened->EnsureDatabank(77, "PW_TESTDB");
    const std::uint64_t object = opened->AddObject(77, name, 1, 0);
    const auto start = std::chrono::time_point_cast<std::chrono::seconds>(
        std::chrono::sys_days(std::chrono::year(2022) / 5 / 1));
    std::vector<std::string> handles;
    for (int i = 0; i < revisions; ++i) {
      handles.push_back(
          store::FormatHandle(opened->AddRevision(object, {"R" + std::to_string(i + 1),
                                                           "remark " + std::to_string(i + 1),
                                                           "anna",
                                                           start + std::chrono::hours(i),
                                                           {},
                                                           {}})));
    }
    return handles;
  }

  const ModuleExports& Exports() const { return component_.Exports(); }

  com::ComPtr<IClassFactory> Factory() {
    com::ComPtr<IClassFactory> factory;
    EXPECT_EQ(Exports().getClassObject(CLSID_RevManager, IClassFactory::IID_,
                                       factory.ReleaseAndGetVoidAddress()),
              S_OK);
    return factory;
  }

  com_test::TemporaryHome home_;
  VariableScope variables_;
  LoadedComponent component_;
};

}  // namespace module_test
