#pragma once
// The class object of RevManager: made once, kept by the module until it is unloaded. While any
// client holds it, it holds a lock on the module.
#include <mutex>

#include "platform/com/class_object.h"

namespace module {

class RevManagerClassFactory final : public IClassFactory {
 public:
  // The module's cached class object (one reference, the module's own); made on first use.
  // Null when memory runs out.
  static IClassFactory* Cached();
  // Lets go of the module's reference (at unload).
  static void ReleaseCached();

  HRESULT QueryInterface(REFIID iid, void** object) override;
  ULONG AddRef() override;
  ULONG Release() override;
  HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
  HRESULT LockServer(BOOL lock) override;

 private:
  RevManagerClassFactory() = default;
  ~RevManagerClassFactory() = default;

  std::mutex mutex_;
  ULONG references_ = 0;
};

}  // namespace module
