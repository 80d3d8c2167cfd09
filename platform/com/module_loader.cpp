#include "platform/com/module_loader.h"

#include <dlfcn.h>

#include <map>
#include <mutex>
#include <vector>

namespace com {

namespace {

// A dlopen handle, closed with the object.
class ModuleHandle {
 public:
  explicit ModuleHandle(void* handle) : handle_(handle) {}
  ModuleHandle(const ModuleHandle&) = delete;
  ModuleHandle& operator=(const ModuleHandle&) = delete;
  ~ModuleHandle() {
    if (handle_) ::dlclose(handle_);
  }
  void* Get() const { return handle_; }

 private:
  void* handle_;
};

struct LoadedModules {
  // Held recursively: a module's DllGetClassObject may create objects of other modules.
  std::recursive_mutex mutex;
  std::map<std::string, std::unique_ptr<ModuleHandle>> byPath;
  // The paths modules were asked for, to their canonical path in byPath: resolving a path costs
  // a system call per folder, and a creation by class id asks for its module every time.
  std::map<std::string, std::string> canonicalOf;
};

LoadedModules& Modules() {
  static LoadedModules modules;
  return modules;
}

std::string Canonical(const std::filesystem::path& module) {
  std::error_code ec;
  auto canonical = std::filesystem::canonical(module, ec);
  return ec ? module.string() : canonical.string();
}

// The handle of the module, loading it on first use. Call with the mutex held.
void* Load(const std::filesystem::path& module, std::string* error) {
  LoadedModules& modules = Modules();
  if (auto known = modules.canonicalOf.find(module.native()); known != modules.canonicalOf.end()) {
    auto it = modules.byPath.find(known->second);
    if (it != modules.byPath.end()) return it->second->Get();
  }
  const std::string path = Canonical(module);
  auto it = modules.byPath.find(path);
  if (it != modules.byPath.end()) {
    modules.canonicalOf[module.native()] = path;
    return it->second->Get();
  }
  void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    if (error) {
      const char* why = ::dlerror();
      *error = why ? why : "cannot load " + path;
    }
    return nullptr;
  }
  modules.byPath.emplace(path, std::make_unique<ModuleHandle>(handle));
  modules.canonicalOf[module.native()] = path;
  return handle;
}

}  // namespace

HRESULT GetClassObjectFromModule(const std::filesystem::path& module, REFCLSID clsid, REFIID iid,
                                 void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  std::lock_guard lock(Modules().mutex);
  void* handle = Load(module, nullptr);
  if (!handle) return CO_E_DLLNOTFOUND;
  auto get = reinterpret_cast<DllGetClassObjectFunction>(::dlsym(handle, "DllGetClassObject"));
  if (!get) return CO_E_ERRORINDLL;
  return get(clsid, iid, object);
}

HRESULT CallModuleExport(const std::filesystem::path& module, const char* exportName,
                         std::string* error) {
  if (!exportName) return E_INVALIDARG;
  std::lock_guard lock(Modules().mutex);
  void* handle = Load(module, error);
  if (!handle) return CO_E_DLLNOTFOUND;
  auto function = reinterpret_cast<DllRegisterServerFunction>(::dlsym(handle, exportName));
  if (!function) {
    if (error) *error = std::string("no export ") + exportName + " in " + module.string();
    return CO_E_ERRORINDLL;
  }
  return function();
}

std::size_t FreeUnusedModules() {
  LoadedModules& modules = Modules();
  std::vector<std::unique_ptr<ModuleHandle>> unloaded;
  {
    std::lock_guard lock(modules.mutex);
    for (auto it = modules.byPath.begin(); it != modules.byPath.end();) {
      auto canUnload =
          reinterpret_cast<DllCanUnloadNowFunction>(::dlsym(it->second->Get(), "DllCanUnloadNow"));
      if (canUnload && canUnload() == S_OK) {
        std::erase_if(modules.canonicalOf,
                      [&](const auto& alias) { return alias.second == it->first; });
        unloaded.push_back(std::move(it->second));
        it = modules.byPath.erase(it);
      } else {
        ++it;
      }
    }
  }
  return unloaded.size();  // closed here, outside the lock
}

std::size_t LoadedModuleCount() {
  std::lock_guard lock(Modules().mutex);
  return Modules().byPath.size();
}

}  // namespace com

void CoFreeUnusedLibraries() {
  com::FreeUnusedModules();
}
