#pragma once
// Entry points of the query server: its class object, for a module's DllGetClassObject or for
// registration inside a process that links the server in.
#include "platform/com/guid.h"
#include "platform/com/result.h"

namespace vnquery {

HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out);

// Registers the class object and the ProgID "VnQuerySrv.VNQuery" in this process (once).
void RegisterInProcess();

}  // namespace vnquery
