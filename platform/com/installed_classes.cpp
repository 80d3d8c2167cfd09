#include "platform/com/class_object.h"

// Until modules are installed through the registry, no class is known beyond the process.
namespace com {

HRESULT GetInstalledClassObject(REFCLSID /*clsid*/, REFIID /*iid*/, void** object) {
  if (object) *object = nullptr;
  return REGDB_E_CLASSNOTREG;
}

HRESULT InstalledClsidFromProgId(std::u16string_view /*progId*/, CLSID* /*clsid*/) {
  return REGDB_E_CLASSNOTREG;
}

}  // namespace com
