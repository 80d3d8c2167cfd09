#include "platform/com/dispatch_type_info_holder.h"

#include <memory>

namespace com {

HRESULT TypeInfoHolder::Ensure(ComPtr<ITypeInfo>* info) {
  std::lock_guard lock(mutex_);
  if (!info_) {
    ComPtr<ITypeLib> lib;
    HRESULT hr = LoadRegTypeLib(libid_, major_, minor_, 0, &lib);
    if (FAILED(hr)) return hr;
    hr = lib->GetTypeInfoOfGuid(iid_, &info_);
    if (FAILED(hr)) return hr;
  }
  *info = info_;
  return S_OK;
}

void TypeInfoHolder::Release() {
  ComPtr<ITypeInfo> released;
  std::lock_guard lock(mutex_);
  released = std::move(info_);
}

HRESULT TypeInfoHolder::GetTypeInfoCount(std::uint32_t* count) {
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT TypeInfoHolder::GetTypeInfo(std::uint32_t index, LCID /*lcid*/, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  ComPtr<ITypeInfo> held;
  HRESULT hr = Ensure(std::addressof(held));
  if (FAILED(hr)) return hr;
  *info = held.Detach();
  return S_OK;
}

HRESULT TypeInfoHolder::GetIDsOfNames(REFIID reserved, LPOLESTR* names, std::uint32_t count,
                                      LCID /*lcid*/, DISPID* ids) {
  if (reserved != GUID_NULL) return DISP_E_UNKNOWNINTERFACE;
  ComPtr<ITypeInfo> held;
  HRESULT hr = Ensure(std::addressof(held));
  if (FAILED(hr)) return hr;
  return held->GetIDsOfNames(names, count, ids);
}

HRESULT TypeInfoHolder::Invoke(void* instance, DISPID member, REFIID reserved, std::uint16_t flags,
                               DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                               std::uint32_t* argError) {
  if (reserved != GUID_NULL) return DISP_E_UNKNOWNINTERFACE;
  ComPtr<ITypeInfo> held;
  HRESULT hr = Ensure(std::addressof(held));
  if (FAILED(hr)) return hr;
  return held->Invoke(instance, member, flags, params, result, exception, argError);
}

}  // namespace com
