// The query server module.
#include "platform/com/module_resource.h"
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

}  // namespace

namespace server_module {

HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  return vnquery::GetClassObject(clsid, iid, object);
}

com::ScriptReplacements Identities() {
  return {{"CLSID_VNQUERY", com::GuidToString(CLSID_VNQuery)}};
}

}  // namespace server_module
