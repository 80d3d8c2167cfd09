#pragma once
// Entry points of the environment service: its class objects, for a module's DllGetClassObject
// or for registration inside a process that links the service in.
#include "platform/com/guid.h"
#include "platform/com/result.h"

namespace env {

// The class object of CLSID_EnvRegistry (always handing out the process's one registry) or
// CLSID_Env (a new environment object per request).
HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out);

// Registers both classes with this process's runtime (once; later calls do nothing).
void RegisterInProcess();

}  // namespace env
