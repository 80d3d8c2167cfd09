// The environment service module.
#include "platform/com/module_resource.h"
#include "servers/env/env_service.h"
#include "servers/modules/server_module.h"
#include "services/env.h"

namespace {

REVMGR_MODULE_RESOURCE(kRegistryScript, "REGISTRY", 103, R"(HKCR
{
	NoRemove CLSID
	{
		ForceRemove %CLSID_ENVREGISTRY% = s 'Environment Registry'
		{
			InprocServer32 = s '%MODULE%'
			{
				val ThreadingModel = s 'Both'
			}
		}
		ForceRemove %CLSID_ENV% = s 'Environment'
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
  return env::GetClassObject(clsid, iid, object);
}

com::ScriptReplacements Identities() {
  return {{"CLSID_ENVREGISTRY", com::GuidToString(CLSID_EnvRegistry)},
          {"CLSID_ENV", com::GuidToString(CLSID_Env)}};
}

}  // namespace server_module
