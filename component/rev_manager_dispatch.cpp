// Late-bound access to IRevManager, answered from the type information of IRevManager in the
// registered type library VNMORMGRLib 1.0, which is loaded on first use and kept for the life of
// the module.
#include "component/rev_manager.h"
#include "platform/com/dispatch_invoker.h"
#include "platform/com/dispatch_type_info_holder.h"

namespace component {

namespace {

constexpr com::MemberInvoker kRevManagerInvokers[] = {
    com::Invoker<&IRevManager::put_ObjectHandle>(kDispIdObjectHandle, INVOKE_PROPERTYPUT),
    com::Invoker<&IRevManager::Delete>(kDispIdDelete),
    com::Invoker<&IRevManager::ShowRevManagerDlg>(kDispIdShowRevManagerDlg),
    com::Invoker<&IRevManager::Rename>(kDispIdRename),
    com::Invoker<&IRevManager::GetOldestRevision>(kDispIdGetOldestRevision),
    com::Invoker<&IRevManager::GetRevisionCount>(kDispIdGetRevisionCount),
};

// The type information of IRevManager, with the early-bound calls behind it registered for as
// long as the module is loaded.
com::TypeInfoHolder& RevManagerTypeInfo() {
  static com::InvokerRegistration invokers(IID_IRevManager, kRevManagerInvokers);
  static com::TypeInfoHolder holder(LIBID_VNMORMGRLib, kVnmorMgrLibMajor, kVnmorMgrLibMinor,
                                    IID_IRevManager);
  return holder;
}

}  // namespace

HRESULT RevManager::GetTypeInfoCount(std::uint32_t* count) {
  return RevManagerTypeInfo().GetTypeInfoCount(count);
}

HRESULT RevManager::GetTypeInfo(std::uint32_t index, LCID lcid, ITypeInfo** info) {
  return RevManagerTypeInfo().GetTypeInfo(index, lcid, info);
}

HRESULT RevManager::GetIDsOfNames(REFIID reserved, LPOLESTR* names, std::uint32_t count, LCID lcid,
                                  DISPID* ids) {
  return RevManagerTypeInfo().GetIDsOfNames(reserved, names, count, lcid, ids);
}

HRESULT RevManager::Invoke(DISPID member, REFIID reserved, LCID /*lcid*/, std::uint16_t flags,
                           DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                           std::uint32_t* argError) {
  return RevManagerTypeInfo().Invoke(static_cast<IRevManager*>(this), member, reserved, flags,
                                     params, result, exception, argError);
}

}  // namespace component
