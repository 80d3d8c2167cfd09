#include "platform/com/dispatch_call.h"

#include <new>
#include <string>
#include <vector>

namespace com {

ExceptionInfo::~ExceptionInfo() {
  Clear();
}

void ExceptionInfo::Reset() {
  info_ = EXCEPINFO{};
}

void ExceptionInfo::Clear() {
  SysFreeString(info_.bstrSource);
  SysFreeString(info_.bstrDescription);
  SysFreeString(info_.bstrHelpFile);
  Reset();
}

std::u16string_view ExceptionInfo::Source() const {
  return {info_.bstrSource ? info_.bstrSource : u"", SysStringLen(info_.bstrSource)};
}

std::u16string_view ExceptionInfo::Description() const {
  return {info_.bstrDescription ? info_.bstrDescription : u"", SysStringLen(info_.bstrDescription)};
}

HRESULT DispIdOfName(IDispatch* object, std::u16string_view name, DISPID* id) {
  if (!object || !id) return E_POINTER;
  try {
    std::u16string text(name);
    LPOLESTR names[] = {text.data()};
    return object->GetIDsOfNames(GUID_NULL, names, 1, 0, id);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

HRESULT InvokeByName(IDispatch* object, std::u16string_view name, std::uint16_t flags,
                     std::span<const VARIANT> args, VARIANT* result, ExceptionInfo* exception,
                     std::uint32_t* argError) {
  DISPID id = DISPID_UNKNOWN;
  HRESULT hr = DispIdOfName(object, name, &id);
  if (FAILED(hr)) return hr;
  try {
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPID putId = DISPID_PROPERTYPUT;
    const bool isPut = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
    DISPPARAMS params{reversed.data(), isPut ? &putId : nullptr,
                      static_cast<std::uint32_t>(reversed.size()), isPut ? 1u : 0u};
    std::uint32_t position = 0;
    hr = object->Invoke(id, GUID_NULL, 0, flags, &params, result,
                        exception ? exception->Out() : nullptr, &position);
    if (hr == DISP_E_TYPEMISMATCH && argError && position < args.size()) {
      *argError = static_cast<std::uint32_t>(args.size()) - 1 - position;
    }
    return hr;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

}  // namespace com
