#pragma once
// The in-process server modules that this process has loaded, by their full path. A module
// stays loaded until FreeUnusedModules finds that it can be unloaded.
#include <filesystem>
#include <string>

#include "platform/com/class_object.h"

namespace com {

using DllGetClassObjectFunction = HRESULT (*)(REFCLSID clsid, REFIID iid, void** object);
using DllCanUnloadNowFunction = HRESULT (*)();
using DllRegisterServerFunction = HRESULT (*)();

// Loads the module (once; later calls find it loaded) and asks its DllGetClassObject.
// CO_E_DLLNOTFOUND when it cannot be loaded, CO_E_ERRORINDLL without the export.
HRESULT GetClassObjectFromModule(const std::filesystem::path& module, REFCLSID clsid, REFIID iid,
                                 void** object);

// Loads the module (once) and calls one of its exports taking no arguments and returning a
// result code, such as DllRegisterServer. *error describes a failure to load.
HRESULT CallModuleExport(const std::filesystem::path& module, const char* exportName,
                         std::string* error = nullptr);

// Asks every loaded module whether it can be unloaded and unloads those that say S_OK.
// Returns how many were unloaded.
std::size_t FreeUnusedModules();

// How many modules this process holds loaded.
std::size_t LoadedModuleCount();

constexpr HRESULT CO_E_DLLNOTFOUND = MakeHresult(0x800401F8u);
constexpr HRESULT CO_E_ERRORINDLL = MakeHresult(0x800401F9u);

}  // namespace com

// Unloads the modules that say they can be unloaded.
void CoFreeUnusedLibraries();
