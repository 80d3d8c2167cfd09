// The resources built into the module: the registry script (103), the type library (1) and the
// version record (1). The identities here are those of component/rev_manager_ids.h; the module
// tests compare them.
#include "module/module_resources.h"

#include "platform/com/module_resource.h"

namespace module {

namespace {

REVMGR_MODULE_RESOURCE(kRegistryScript, "REGISTRY", kRegistryScriptId, R"(HKCR
{
	VNMORMgr.RevManager.1 = s 'RevManager Class'
	{
		CLSID = s '{8A3D6E21-5B7C-4F9E-A1D2-6E4F0B8C7D35}'
	}
	VNMORMgr.RevManager = s 'RevManager Class'
	{
		CLSID = s '{8A3D6E21-5B7C-4F9E-A1D2-6E4F0B8C7D35}'
		CurVer = s 'VNMORMgr.RevManager.1'
	}
	NoRemove CLSID
	{
		ForceRemove {8A3D6E21-5B7C-4F9E-A1D2-6E4F0B8C7D35} = s 'RevManager Class'
		{
			ProgID = s 'VNMORMgr.RevManager.1'
			VersionIndependentProgID = s 'VNMORMgr.RevManager'
			ForceRemove 'Programmable'
			InprocServer32 = s '%MODULE%'
			{
				val ThreadingModel = s 'Apartment'
			}
			'TypeLib' = s '{C2E5B8D4-1A6F-4B3C-9D7E-0F5A2B8C4E96}'
		}
	}
}
)");

REVMGR_MODULE_RESOURCE(kTypeLibrary, "TYPELIB", kTypeLibraryId, R"(// VNMORMgr.idl
[
	uuid(C2E5B8D4-1A6F-4B3C-9D7E-0F5A2B8C4E96),
	version(1.0),
	helpstring("VNMORMgr 1.0 Type Library")
]
library VNMORMGRLib
{
	importlib("stdole32.tlb");
	importlib("stdole2.tlb");

	[
		object,
		uuid(4F1C2A7E-93B5-4D0A-8E61-2C7B9D3E5A14),
		dual,
		oleautomation,
		helpstring("IRevManager Interface"),
		pointer_default(unique)
	]
	interface IRevManager : IDispatch
	{
		[propput, id(1), helpstring("property ObjectHandle")] HRESULT ObjectHandle([in] BSTR newVal);
		[id(2), helpstring("method Delete")] HRESULT Delete([in] BSTR newVal);
		[id(3), helpstring("method ShowRevManagerDlg")] HRESULT ShowRevManagerDlg();
		[id(4), helpstring("method Rename")] HRESULT Rename([in] BSTR newRevisionName, [in] BSTR newRevisionRemark);
		[id(5), helpstring("method GetOldestRevision")] HRESULT GetOldestRevision([out] BSTR* pObjectHandle, [out] BSTR* pRevisionName, [out] BSTR* pRevisionRemark);
		[id(6), helpstring("method GetRevisionCount")] HRESULT GetRevisionCount([out, retval] long* count);
	};

	[
		uuid(8A3D6E21-5B7C-4F9E-A1D2-6E4F0B8C7D35),
		helpstring("RevManager Class")
	]
	coclass RevManager
	{
		[default] interface IRevManager;
	};
};
)");

REVMGR_MODULE_RESOURCE(kVersion, "VERSION", kVersionId, R"(FileVersion=1.0.0.1
ProductVersion=1.0.0.1
InternalName=VNMORMgr
OriginalFilename=libVNMORMgr.so
)");

}  // namespace

const void* AddressInModule() {
  return &kRegistryScript;
}

}  // namespace module
