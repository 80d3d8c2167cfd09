#include "servers/rvx/parameter.h"

#include <new>

#include "servers/rvx/error.h"

namespace rvx {

Parameter::Parameter(BSTR name, std::int32_t dataType, std::int32_t direction, const VARIANT& value)
    : name_(std::u16string_view(name ? name : u"", SysStringLen(name))),
      dataType_(dataType),
      direction_(direction),
      value_(value) {}

HRESULT Parameter::Create(BSTR name, std::int32_t dataType, std::int32_t direction,
                          const VARIANT& value, IRvxParameter** out) {
  if (!out)
    return Fail(E_POINTER, kSourceCommand, u"No place for the parameter", IRvxCommand::IID_);
  *out = nullptr;
  if (dataType != kRvxTypeText && dataType != kRvxTypeNumber) {
    return Fail(E_INVALIDARG, kSourceCommand,
                u"Unknown parameter data type (1 text and 2 number are known)", IRvxCommand::IID_);
  }
  if (direction != kRvxDirectionInput && direction != kRvxDirectionOutput) {
    return Fail(E_INVALIDARG, kSourceCommand,
                u"Unknown parameter direction (1 input and 2 output are known)", IRvxCommand::IID_);
  }
  try {
    com::ComPtr<Parameter> parameter;
    HRESULT hr = com::Object<Parameter>::Create(&parameter, name, dataType, direction, value);
    if (FAILED(hr)) return hr;
    *out = parameter.Detach();
    return S_OK;
  } catch (const std::bad_alloc&) {
    return Fail(E_OUTOFMEMORY, kSourceCommand, u"Out of memory", IRvxCommand::IID_);
  }
}

HRESULT Parameter::get_Value(VARIANT* value) {
  if (!value)
    return Fail(E_POINTER, kSourceParameter, u"No place for the value", IRvxParameter::IID_);
  VariantInit(value);
  HRESULT hr = VariantCopy(value, &value_.Get());
  if (FAILED(hr))
    return Fail(hr, kSourceParameter, u"The value could not be copied", IRvxParameter::IID_);
  return S_OK;
}

HRESULT Parameter::InterfaceSupportsErrorInfo(REFIID iid) {
  return iid == IRvxParameter::IID_ ? S_OK : S_FALSE;
}

}  // namespace rvx
