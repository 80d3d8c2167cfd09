#pragma once
// Calling members of an object that is known only through IDispatch, by name.
#include <cstdint>
#include <span>
#include <string_view>

#include "platform/com/dispatch.h"

namespace com {

// Owns the texts of an EXCEPINFO that Invoke filled.
class ExceptionInfo {
 public:
  ExceptionInfo() { Reset(); }
  ~ExceptionInfo();
  ExceptionInfo(const ExceptionInfo&) = delete;
  ExceptionInfo& operator=(const ExceptionInfo&) = delete;

  EXCEPINFO* Out() {
    Clear();
    return &info_;
  }
  const EXCEPINFO& Get() const { return info_; }
  HRESULT Code() const { return info_.scode; }
  std::u16string_view Source() const;
  std::u16string_view Description() const;

 private:
  void Reset();
  void Clear();
  EXCEPINFO info_;
};

// The DISPID of a member name.
HRESULT DispIdOfName(IDispatch* object, std::u16string_view name, DISPID* id);

// Calls a member by name. args are in the order the member declares them (they are handed to
// Invoke reversed, as it expects); out arguments are VT_BYREF variants. A property put passes
// its value as the named argument DISPID_PROPERTYPUT. result, exception and argError may be
// null; on DISP_E_TYPEMISMATCH *argError is the position of the argument in args.
HRESULT InvokeByName(IDispatch* object, std::u16string_view name, std::uint16_t flags,
                     std::span<const VARIANT> args, VARIANT* result = nullptr,
                     ExceptionInfo* exception = nullptr, std::uint32_t* argError = nullptr);

}  // namespace com
