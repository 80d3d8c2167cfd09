// The RVX server module.
#include "platform/com/module_resource.h"
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

}  // namespace

namespace server_module {

HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  return rvx::GetClassObject(clsid, iid, object);
}

com::ScriptReplacements Identities() {
  return {{"CLSID_RVXSERVER", com::GuidToString(CLSID_RvxServer)},
          {"CLSID_RVXCOMMAND", com::GuidToString(CLSID_RvxCommand)}};
}

}  // namespace server_module
