#pragma once
// What each stand-in server module defines for the entry points they share
// (server_module_entry.cpp): its server's class objects and the class identities its registry
// script (resource "REGISTRY" 103, next to these definitions) names besides %MODULE%.
#include "platform/com/guid.h"
#include "platform/com/registry_script.h"
#include "platform/com/result.h"

namespace server_module {

HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** object);
com::ScriptReplacements Identities();

}  // namespace server_module
