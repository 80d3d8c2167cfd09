#pragma once
// Class objects and creation of objects by class identity or ProgID.
#include <cstdint>
#include <string_view>

#include "platform/com/bstr.h"
#include "platform/com/unknown.h"

struct IClassFactory : IUnknown {
  static constexpr GUID IID_ = com::MakeGuid("{00000001-0000-0000-C000-000000000046}");
  using Base = IUnknown;
  virtual HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) = 0;
  virtual HRESULT LockServer(BOOL lock) = 0;
};

// An object that has to be brought into its running state before use.
struct IRunnableObject : IUnknown {
  static constexpr GUID IID_ = com::MakeGuid("{00000126-0000-0000-C000-000000000046}");
  using Base = IUnknown;
  virtual HRESULT Run() = 0;
  virtual BOOL IsRunning() = 0;
};

enum : std::uint32_t {
  CLSCTX_INPROC_SERVER = 0x1,
  CLSCTX_INPROC_HANDLER = 0x2,
  CLSCTX_LOCAL_SERVER = 0x4,
  CLSCTX_REMOTE_SERVER = 0x10,
  CLSCTX_SERVER = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER,
  CLSCTX_ALL = CLSCTX_SERVER | CLSCTX_INPROC_HANDLER,
};

enum : std::uint32_t { REGCLS_SINGLEUSE = 0, REGCLS_MULTIPLEUSE = 1 };

// Registers a class object in this process; *cookie identifies the registration.
HRESULT CoRegisterClassObject(REFCLSID clsid, IUnknown* classObject, std::uint32_t context,
                              std::uint32_t flags, std::uint32_t* cookie);
HRESULT CoRevokeClassObject(std::uint32_t cookie);
// The class object: registered in this process first, then from the installed modules.
HRESULT CoGetClassObject(REFCLSID clsid, std::uint32_t context, void* reserved, REFIID iid,
                         void** object);
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, std::uint32_t context, REFIID iid,
                         void** object);
HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* clsid);
// Brings an object into its running state; one without IRunnableObject counts as running.
HRESULT OleRun(IUnknown* object);

namespace com {

// ProgID known to this process (alongside those of installed modules).
HRESULT RegisterProgId(std::u16string_view progId, REFCLSID clsid);
void UnregisterProgId(std::u16string_view progId);

// Lookups beyond this process's own table: the installed modules. Defined in
// installed_classes.cpp so that a fuller lookup can take its place without touching callers.
HRESULT GetInstalledClassObject(REFCLSID clsid, REFIID iid, void** object);
HRESULT InstalledClsidFromProgId(std::u16string_view progId, CLSID* clsid);

// Creates, brings into the running state and queries for I: the three steps every caller of the
// closed servers performs. Any failing step is a failure to create.
template <class I>
HRESULT CreateRunning(REFCLSID clsid, I** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  ComPtr<IUnknown> unknown;
  HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IUnknown::IID_,
                                unknown.ReleaseAndGetVoidAddress());
  if (FAILED(hr)) return hr;
  if (!unknown) return E_POINTER;
  hr = OleRun(unknown.Get());
  if (FAILED(hr)) return hr;
  return unknown.As(out);
}

}  // namespace com
