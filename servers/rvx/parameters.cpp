#include "servers/rvx/parameters.h"

#include <new>
#include <string>

#include "servers/rvx/error.h"

namespace rvx {

HRESULT Parameters::get_Item(VARIANT index, IRvxParameter** parameter) {
  if (!parameter)
    return Fail(E_POINTER, kSourceParameters, u"No place for the parameter", IRvxParameters::IID_);
  *parameter = nullptr;
  VARIANT position;
  VariantInit(&position);
  if (FAILED(VariantChangeType(&position, &index, 0, VT_I4))) {
    return Fail(DISP_E_TYPEMISMATCH, kSourceParameters, u"The parameter position is not a number",
                IRvxParameters::IID_);
  }
  if (position.lVal < 0 || static_cast<std::size_t>(position.lVal) >= items_.size()) {
    return Fail(E_INVALIDARG, kSourceParameters, u"No parameter at that position",
                IRvxParameters::IID_);
  }
  IRvxParameter* item = items_[static_cast<std::size_t>(position.lVal)].Get();
  item->AddRef();
  *parameter = item;
  return S_OK;
}

HRESULT Parameters::Append(IRvxParameter* parameter) {
  if (!parameter)
    return Fail(E_POINTER, kSourceParameters, u"No parameter to append", IRvxParameters::IID_);
  // Only parameters made by a command of this server can be bound.
  auto* own = dynamic_cast<Parameter*>(parameter);
  if (!own) {
    return Fail(E_INVALIDARG, kSourceParameters,
                u"The parameter was not created by a command of this server", IRvxParameters::IID_);
  }
  try {
    items_.emplace_back(own);
  } catch (const std::bad_alloc&) {
    return Fail(E_OUTOFMEMORY, kSourceParameters, u"Out of memory", IRvxParameters::IID_);
  }
  return S_OK;
}

HRESULT Parameters::InterfaceSupportsErrorInfo(REFIID iid) {
  return iid == IRvxParameters::IID_ ? S_OK : S_FALSE;
}

}  // namespace rvx
