// Late-bound access to IRevManager. Not available yet: the dispatch built from the registered type
// library takes this file's place.
#include "component/rev_manager.h"

namespace component {

HRESULT RevManager::GetTypeInfoCount(std::uint32_t* count) {
  if (count) *count = 0;
  return E_NOTIMPL;
}

HRESULT RevManager::GetTypeInfo(std::uint32_t, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

HRESULT RevManager::GetIDsOfNames(REFIID, LPOLESTR*, std::uint32_t, LCID, DISPID*) {
  return E_NOTIMPL;
}

HRESULT RevManager::Invoke(DISPID, REFIID, LCID, std::uint16_t, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                           std::uint32_t*) {
  return E_NOTIMPL;
}

}  // namespace component
