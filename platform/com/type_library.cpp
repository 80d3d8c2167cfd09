#include "platform/com/type_library.h"

#include <fstream>
#include <new>
#include <sstream>

#include "platform/com/module_resource.h"
#include "platform/com/object.h"
#include "platform/com/registry.h"
#include "platform/com/utf.h"

namespace com {

namespace {

constexpr std::string_view kPlatformKey = "linux64";
constexpr GUID kAutomationProxyStub = MakeGuid("{00020424-0000-0000-C000-000000000046}");

HRESULT CopyText(std::string_view text, BSTR* out) {
  if (!out) return S_OK;
  try {
    *out = BStr::FromUtf8(text).Detach();
    return S_OK;
  } catch (...) {
    *out = nullptr;
    return E_OUTOFMEMORY;
  }
}

class TypeLib : public Implements<ITypeLib> {
 public:
  explicit TypeLib(std::shared_ptr<const typelib::Library> library) : library_(std::move(library)) {
    attr_ = TLIBATTR{library_->libid, 0, SYS_LINUX64, library_->major, library_->minor, 0};
  }

  std::uint32_t GetTypeInfoCount() override {
    return static_cast<std::uint32_t>(library_->interfaces.size() + library_->coclasses.size());
  }

  HRESULT GetTypeInfo(std::uint32_t index, ITypeInfo** info) override {
    if (!info) return E_INVALIDARG;
    return CreateTypeInfo(library_, index, info);
  }

  HRESULT GetTypeInfoType(std::uint32_t index, TYPEKIND* kind) override {
    if (!kind) return E_INVALIDARG;
    const auto interfaces = library_->interfaces.size();
    if (index < interfaces) {
      *kind = library_->interfaces[index].base == "IDispatch" ? TKIND_DISPATCH : TKIND_INTERFACE;
    } else if (index < interfaces + library_->coclasses.size()) {
      *kind = TKIND_COCLASS;
    } else {
      return TYPE_E_ELEMENTNOTFOUND;
    }
    return S_OK;
  }

  HRESULT GetTypeInfoOfGuid(REFGUID guid, ITypeInfo** info) override {
    if (!info) return E_INVALIDARG;
    *info = nullptr;
    for (std::uint32_t i = 0; i < library_->interfaces.size(); ++i) {
      if (library_->interfaces[i].iid == guid) return CreateTypeInfo(library_, i, info);
    }
    const auto interfaces = static_cast<std::uint32_t>(library_->interfaces.size());
    for (std::uint32_t i = 0; i < library_->coclasses.size(); ++i) {
      if (library_->coclasses[i].clsid == guid) {
        return CreateTypeInfo(library_, interfaces + i, info);
      }
    }
    return TYPE_E_ELEMENTNOTFOUND;
  }

  HRESULT GetLibAttr(TLIBATTR** attr) override {
    if (!attr) return E_INVALIDARG;
    *attr = &attr_;
    return S_OK;
  }

  HRESULT GetDocumentation(std::int32_t index, BSTR* name, BSTR* docString,
                           std::uint32_t* helpContext, BSTR* helpFile) override {
    std::string_view typeName, help;
    const auto interfaces = library_->interfaces.size();
    if (index == -1) {
      typeName = library_->name;
      help = library_->help;
    } else if (index >= 0 && static_cast<std::size_t>(index) < interfaces) {
      typeName = library_->interfaces[index].name;
      help = library_->interfaces[index].help;
    } else if (index >= 0 &&
               static_cast<std::size_t>(index) < interfaces + library_->coclasses.size()) {
      typeName = library_->coclasses[index - interfaces].name;
      help = library_->coclasses[index - interfaces].help;
    } else {
      return TYPE_E_ELEMENTNOTFOUND;
    }
    if (helpContext) *helpContext = 0;
    if (helpFile) *helpFile = nullptr;
    if (FAILED(CopyText(typeName, name))) return E_OUTOFMEMORY;
    if (FAILED(CopyText(help, docString))) {
      if (name) SysFreeString(*name), *name = nullptr;
      return E_OUTOFMEMORY;
    }
    return S_OK;
  }

  void ReleaseTLibAttr(TLIBATTR*) override {}

  const typelib::Library& Description() const { return *library_; }

 private:
  std::shared_ptr<const typelib::Library> library_;
  TLIBATTR attr_;
};

std::string VersionKey(std::uint16_t major, std::uint16_t minor) {
  return std::to_string(major) + "." + std::to_string(minor);
}

std::string LibraryKey(const GUID& libid) {
  return std::string(kClassesRoot) + "\\TypeLib\\" + GuidToString(libid);
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return text.str();
}

// Parses "MAJOR.MINOR" (decimal, as written by RegisterTypeLib).
bool ParseVersion(std::string_view text, std::uint16_t* major, std::uint16_t* minor) {
  const std::size_t dot = text.find('.');
  if (dot == std::string_view::npos) return false;
  auto number = [](std::string_view digits, std::uint16_t* out) {
    if (digits.empty() || digits.size() > 5) return false;
    unsigned value = 0;
    for (char c : digits) {
      if (c < '0' || c > '9') return false;
      value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value > 0xFFFF) return false;
    *out = static_cast<std::uint16_t>(value);
    return true;
  };
  return number(text.substr(0, dot), major) && number(text.substr(dot + 1), minor);
}

}  // namespace

HRESULT CreateTypeLib(std::shared_ptr<const typelib::Library> library, ITypeLib** lib) {
  if (!lib) return E_POINTER;
  *lib = nullptr;
  if (!library) return E_INVALIDARG;
  TypeLib* made = nullptr;
  HRESULT hr = Object<TypeLib>::Create(&made, std::move(library));
  *lib = made;
  return hr;
}

HRESULT CreateTypeLibFromText(std::string_view text, ITypeLib** lib, std::string* error) {
  if (!lib) return E_POINTER;
  *lib = nullptr;
  try {
    auto parsed = typelib::ParseTypeLibraryText(text, error);
    if (!parsed) return TYPE_E_CANTLOADLIBRARY;
    return CreateTypeLib(std::make_shared<const typelib::Library>(std::move(*parsed)), lib);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

}  // namespace com

HRESULT LoadTypeLib(LPCOLESTR file, ITypeLib** lib) {
  if (!lib) return E_POINTER;
  *lib = nullptr;
  if (!file) return E_INVALIDARG;
  try {
    const std::string path = com::ToUtf8(file);
    auto content = com::ReadWholeFile(path);
    if (!content) return TYPE_E_CANTLOADLIBRARY;
    if (content->starts_with("\x7F"
                             "ELF")) {
      content = com::ReadModuleResource(path, "TYPELIB", 1);
      if (!content) return TYPE_E_CANTLOADLIBRARY;
    }
    return com::CreateTypeLibFromText(*content, lib);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return TYPE_E_CANTLOADLIBRARY;
  }
}

HRESULT LoadRegTypeLib(REFGUID libid, std::uint16_t major, std::uint16_t minor, LCID /*lcid*/,
                       ITypeLib** lib) {
  if (!lib) return E_POINTER;
  *lib = nullptr;
  try {
    com::RegistryKey root;
    if (FAILED(com::ReadRegistry(&root))) return TYPE_E_REGISTRYACCESS;
    const com::RegistryKey* library = root.Find(com::LibraryKey(libid));
    if (!library) return TYPE_E_LIBNOTREGISTERED;
    const com::RegistryKey* best = nullptr;
    std::uint16_t bestMinor = 0;
    for (const com::RegistryKey* version : library->Subkeys()) {
      std::uint16_t keyMajor = 0, keyMinor = 0;
      if (!com::ParseVersion(version->Name(), &keyMajor, &keyMinor)) continue;
      if (keyMajor != major || keyMinor < minor) continue;
      if (!best || keyMinor > bestMinor) best = version, bestMinor = keyMinor;
    }
    if (!best) return TYPE_E_LIBNOTREGISTERED;
    const com::RegistryKey* pathKey = best->Find("0\\" + std::string(com::kPlatformKey));
    auto path = pathKey ? pathKey->DefaultText() : std::nullopt;
    if (!path || path->empty()) return TYPE_E_LIBNOTREGISTERED;
    return LoadTypeLib(com::ToUtf16(*path).c_str(), lib);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return TYPE_E_CANTLOADLIBRARY;
  }
}

HRESULT RegisterTypeLib(ITypeLib* lib, LPCOLESTR fullPath, LPCOLESTR helpDir) {
  if (!lib || !fullPath) return E_INVALIDARG;
  try {
    TLIBATTR* attr = nullptr;
    HRESULT hr = lib->GetLibAttr(&attr);
    if (FAILED(hr)) return hr;
    const TLIBATTR libAttr = *attr;
    lib->ReleaseTLibAttr(attr);
    com::BStr libraryHelp;
    lib->GetDocumentation(-1, nullptr, &libraryHelp, nullptr, nullptr);

    struct InterfaceEntry {
      GUID iid;
      std::string name;
    };
    std::vector<InterfaceEntry> interfaces;
    for (std::uint32_t i = 0; i < lib->GetTypeInfoCount(); ++i) {
      com::ComPtr<ITypeInfo> info;
      if (FAILED(lib->GetTypeInfo(i, &info))) continue;
      TYPEATTR* typeAttr = nullptr;
      if (FAILED(info->GetTypeAttr(&typeAttr))) continue;
      const TYPEATTR type = *typeAttr;
      info->ReleaseTypeAttr(typeAttr);
      if (type.typekind == TKIND_COCLASS || !(type.wTypeFlags & TYPEFLAG_FOLEAUTOMATION)) continue;
      com::BStr name;
      info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
      interfaces.push_back({type.guid, name.ToUtf8()});
    }

    const std::string path = com::ToUtf8(fullPath);
    const std::string help = helpDir ? com::ToUtf8(helpDir) : std::string();
    const std::string libid = com::GuidToString(libAttr.guid);
    const std::string version = com::VersionKey(libAttr.wMajorVerNum, libAttr.wMinorVerNum);
    return com::UpdateRegistry([&](com::RegistryKey& root) {
      com::RegistryKey& versionKey = root.Create(com::LibraryKey(libAttr.guid) + "\\" + version);
      versionKey.SetDefault(com::RegistryValue::String(libraryHelp.ToUtf8()));
      versionKey.Create("0\\" + std::string(com::kPlatformKey))
          .SetDefault(com::RegistryValue::String(path));
      versionKey.Create("FLAGS").SetDefault(com::RegistryValue::String("0"));
      versionKey.Create("HELPDIR").SetDefault(com::RegistryValue::String(help));
      for (const auto& entry : interfaces) {
        const std::string key =
            std::string(com::kClassesRoot) + "\\Interface\\" + com::GuidToString(entry.iid);
        root.Remove(key);
        com::RegistryKey& interfaceKey = root.Create(key);
        interfaceKey.SetDefault(com::RegistryValue::String(entry.name));
        interfaceKey.Create("ProxyStubClsid32")
            .SetDefault(com::RegistryValue::String(com::GuidToString(com::kAutomationProxyStub)));
        com::RegistryKey& typeLibKey = interfaceKey.Create("TypeLib");
        typeLibKey.SetDefault(com::RegistryValue::String(libid));
        typeLibKey.SetValue("Version", com::RegistryValue::String(version));
      }
      return S_OK;
    });
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
}

HRESULT UnRegisterTypeLib(REFGUID libid, std::uint16_t major, std::uint16_t minor, LCID /*lcid*/,
                          SYSKIND /*syskind*/) {
  try {
    const std::string libidText = com::GuidToString(libid);
    const std::string version = com::VersionKey(major, minor);
    return com::UpdateRegistry([&](com::RegistryKey& root) {
      const std::string libraryKey = com::LibraryKey(libid);
      if (!root.Find(libraryKey + "\\" + version)) return TYPE_E_LIBNOTREGISTERED;
      // The interfaces registered with this version of the library go with it.
      if (com::RegistryKey* interfaces =
              root.Find(std::string(com::kClassesRoot) + "\\Interface")) {
        std::vector<std::string> owned;
        for (const com::RegistryKey* key : interfaces->Subkeys()) {
          const com::RegistryKey* typeLib = key->Find("TypeLib");
          if (!typeLib || typeLib->DefaultText() != libidText) continue;
          const com::RegistryValue* keyVersion = typeLib->Value("Version");
          if (keyVersion && keyVersion->text == version) owned.push_back(key->Name());
        }
        for (const auto& name : owned) interfaces->Remove(name);
      }
      root.Remove(libraryKey + "\\" + version);
      if (com::RegistryKey* library = root.Find(libraryKey); library && !library->HasSubkeys()) {
        root.Remove(libraryKey);
      }
      return S_OK;
    });
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
}
