// The RVX server module.
#include "servers/modules/server_module.h"
#include "servers/rvx/rvx_server.h"
#include "services/rvx.h"

namespace {

REVMGR_MODULE_RESOURCE(kRegistryScript, "REGISTRY", 103, R"(HKCR
{
	NoRemove CLSID
	{
		ForceRemove %CLSID_RVXSERVER% = s 'RVX Server'
		{
			InprocServer32 = s '%MODULE%'
			{
				val ThreadingModel = s 'Both'
			}
		}
		ForceRemove %CLSID_RVXCOMMAND% = s 'RVX Command'
		{
			InprocServer32 = s '%MODULE%'
			{
				val ThreadingModel = s 'Both'
			}
		}
	}
}
)");

com::ScriptReplacements Identities() {
  return {{"CLSID_RVXSERVER", com::GuidToString(CLSID_RvxServer)},
          {"CLSID_RVXCOMMAND", com::GuidToString(CLSID_RvxCommand)}};
}

}  // namespace

SERVER_MODULE_EXPORT HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  return rvx::GetClassObject(clsid, iid, object);
}
SERVER_MODULE_EXPORT HRESULT DllCanUnloadNow() {
  return S_FALSE;
}
SERVER_MODULE_EXPORT HRESULT DllRegisterServer() {
  return server_module::Register(&kRegistryScript, Identities(), true);
}
SERVER_MODULE_EXPORT HRESULT DllUnregisterServer() {
  return server_module::Register(&kRegistryScript, Identities(), false);
}
