// The query server module.
#include "servers/modules/server_module.h"
#include "servers/vnquery/vnquery_server.h"
#include "services/vnquery.h"

namespace {

REVMGR_MODULE_RESOURCE(kRegistryScript, "REGISTRY", 103, R"(HKCR
{
	VnQuerySrv.VNQuery = s 'VNQuery Class'
	{
		CLSID = s '%CLSID_VNQUERY%'
	}
	NoRemove CLSID
	{
		ForceRemove %CLSID_VNQUERY% = s 'VNQuery Class'
		{
			ProgID = s 'VnQuerySrv.VNQuery'
			InprocServer32 = s '%MODULE%'
			{
				val ThreadingModel = s 'Apartment'
			}
		}
	}
}
)");

com::ScriptReplacements Identities() {
  return {{"CLSID_VNQUERY", com::GuidToString(CLSID_VNQuery)}};
}

}  // namespace

SERVER_MODULE_EXPORT HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  return vnquery::GetClassObject(clsid, iid, object);
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
