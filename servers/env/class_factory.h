#pragma once
// The class object of one of the service's classes: hands each request to the class's creation
// function. Aggregation is not offered.
#include "platform/com/class_object.h"
#include "platform/com/object.h"

namespace env {

using CreateInstanceFunction = HRESULT (*)(REFIID iid, void** out);

class ClassFactory : public com::Implements<IClassFactory> {
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

}  // namespace env
