#include <string>

#include "platform/com/class_object.h"
#include "platform/com/module_loader.h"
#include "platform/com/registry.h"
#include "platform/com/utf.h"

// Classes beyond this process's own table: the in-process servers installed in the registry.
// Every lookup sees the registry as it is now; the parsed file is kept until it changes, so a
// creation costs a stat of the file rather than a read and parse of it.
namespace com {

namespace {

std::string ClassesPath(std::string_view relative) {
  return std::string(kClassesRoot) + "\\" + std::string(relative);
}

}  // namespace

HRESULT GetInstalledClassObject(REFCLSID clsid, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  std::string module;
  try {
    std::shared_ptr<const RegistryKey> root;
    if (FAILED(ReadRegistrySnapshot(&root))) return REGDB_E_CLASSNOTREG;
    const RegistryKey* server =
        root->Find(ClassesPath("CLSID\\" + GuidToString(clsid) + "\\InprocServer32"));
    auto path = server ? server->DefaultText() : std::nullopt;
    if (!path || path->empty()) return REGDB_E_CLASSNOTREG;
    module = *path;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  return GetClassObjectFromModule(module, clsid, iid, object);
}

HRESULT InstalledClsidFromProgId(std::u16string_view progId, CLSID* clsid) {
  if (!clsid) return E_INVALIDARG;
  try {
    std::shared_ptr<const RegistryKey> root;
    if (FAILED(ReadRegistrySnapshot(&root))) return REGDB_E_CLASSNOTREG;
    const std::string name = ToUtf8(progId);
    if (name.empty() || name.find('\\') != std::string::npos) return REGDB_E_CLASSNOTREG;
    const RegistryKey* key = root->Find(ClassesPath(name + "\\CLSID"));
    auto text = key ? key->DefaultText() : std::nullopt;
    auto parsed = text ? ParseGuid(*text) : std::nullopt;
    if (!parsed) return REGDB_E_CLASSNOTREG;
    *clsid = *parsed;
    return S_OK;
  } catch (...) {
    return REGDB_E_CLASSNOTREG;
  }
}

}  // namespace com
