#include "tests/fakes/fake_class_registration.h"

#include "platform/com/object.h"

namespace fakes {

class FakeClassRegistration::Factory : public com::Implements<IClassFactory> {
 public:
  explicit Factory(FakeClassRegistration* owner) : owner_(owner) {}
  void Detach() { owner_ = nullptr; }

  HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (!owner_) return CLASS_E_CLASSNOTAVAILABLE;
    return owner_->Create(outer, iid, object);
  }
  HRESULT LockServer(BOOL) override { return S_OK; }

 private:
  FakeClassRegistration* owner_;
};

FakeClassRegistration::FakeClassRegistration(REFCLSID clsid, Maker maker, std::u16string progId)
    : maker_(std::move(maker)), progId_(std::move(progId)) {
  com::ComPtr<Factory> factory;
  com::Object<Factory>::Create(&factory, this);
  factory_ = factory;
  CoRegisterClassObject(clsid, factory_.Get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie_);
  if (!progId_.empty()) {
    CLSID previous;
    if (SUCCEEDED(CLSIDFromProgID(progId_.c_str(), &previous))) previousProgIdClass_ = previous;
    com::RegisterProgId(progId_, clsid);
  }
}

FakeClassRegistration::~FakeClassRegistration() {
  static_cast<Factory*>(factory_.Get())->Detach();
  CoRevokeClassObject(cookie_);
  if (!progId_.empty()) {
    if (previousProgIdClass_) {
      com::RegisterProgId(progId_, *previousProgIdClass_);
    } else {
      com::UnregisterProgId(progId_);
    }
  }
}

HRESULT FakeClassRegistration::Create(IUnknown* outer, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  ++requests_;
  if (outer) return CLASS_E_NOAGGREGATION;
  if (FAILED(failure_)) return failure_;
  com::ComPtr<IUnknown> made = maker_ ? maker_() : nullptr;
  if (!made) return E_OUTOFMEMORY;
  return made->QueryInterface(iid, object);
}

}  // namespace fakes
