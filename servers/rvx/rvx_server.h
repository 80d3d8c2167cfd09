#pragma once
// Entry points of the data-management server: its class objects, for a module's
// DllGetClassObject or for registration inside a process that links the server in.
#include "platform/com/guid.h"
#include "platform/com/result.h"

namespace rvx {

// The class object of CLSID_RvxServer or CLSID_RvxCommand.
HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out);

// Registers both classes with this process's runtime (once; later calls do nothing).
void RegisterInProcess();

}  // namespace rvx
