#pragma once
// The class objects of a server that links its classes in: a table of the classes it serves, each
// with its creation function, answers both a module's DllGetClassObject and registration inside
// a process.
#include <cstdint>
#include <span>

#include "platform/com/class_object.h"
#include "platform/com/object.h"

namespace com {

// Makes (or hands out) an instance of one class and queries it for iid.
using CreateInstanceFunction = HRESULT (*)(REFIID iid, void** out);

// A new instance of T per request.
template <class T>
HRESULT CreateObject(REFIID iid, void** out) {
  ComPtr<T> object;
  HRESULT hr = Object<T>::Create(&object);
  if (FAILED(hr)) return hr;
  return object->QueryInterface(iid, out);
}

// The class object of one class: hands each request to the class's creation function.
// Aggregation is not offered.
class ClassFactory : public Implements<IClassFactory> {
 public:
  explicit ClassFactory(CreateInstanceFunction create) : create_(create) {}

  HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return create_(iid, out);
  }
  HRESULT LockServer(BOOL /*lock*/) override { return S_OK; }

 private:
  CreateInstanceFunction create_;
};

struct ServedClass {
  CLSID clsid;
  CreateInstanceFunction create;
};

// A new class object for clsid when the table serves it, else CLASS_E_CLASSNOTAVAILABLE.
inline HRESULT GetServedClassObject(std::span<const ServedClass> classes, REFCLSID clsid,
                                    REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  for (const ServedClass& served : classes) {
    if (served.clsid != clsid) continue;
    ComPtr<ClassFactory> factory;
    HRESULT hr = Object<ClassFactory>::Create(&factory, served.create);
    if (FAILED(hr)) return hr;
    return factory->QueryInterface(iid, out);
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

// Registers a class object of every class in the table with this process's runtime for the
// rest of the process. A class whose object cannot be made is passed over; the first failure is
// returned.
inline HRESULT RegisterServedClasses(std::span<const ServedClass> classes) {
  HRESULT result = S_OK;
  for (const ServedClass& served : classes) {
    ComPtr<IUnknown> factory;
    HRESULT hr = GetServedClassObject(classes, served.clsid, IUnknown::IID_,
                                      factory.ReleaseAndGetVoidAddress());
    if (SUCCEEDED(hr)) {
      std::uint32_t cookie = 0;
      hr = CoRegisterClassObject(served.clsid, factory.Get(), CLSCTX_INPROC_SERVER,
                                 REGCLS_MULTIPLEUSE, &cookie);
    }
    if (FAILED(hr) && SUCCEEDED(result)) result = hr;
  }
  return result;
}

}  // namespace com
