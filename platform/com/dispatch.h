#pragma once
// Late-bound calls by member name with variant arguments.
#include <cstdint>

#include "platform/com/variant.h"

struct ITypeInfo;

struct DISPPARAMS {
  VARIANTARG* rgvarg;  // arguments in reverse order, as the original model passes them
  DISPID* rgdispidNamedArgs;
  std::uint32_t cArgs;
  std::uint32_t cNamedArgs;
};

struct EXCEPINFO {
  std::uint16_t wCode;
  std::uint16_t wReserved;
  BSTR bstrSource;
  BSTR bstrDescription;
  BSTR bstrHelpFile;
  std::uint32_t dwHelpContext;
  void* pvReserved;
  void* pfnDeferredFillIn;
  SCODE scode;
};

enum : std::uint16_t {
  DISPATCH_METHOD = 0x1,
  DISPATCH_PROPERTYGET = 0x2,
  DISPATCH_PROPERTYPUT = 0x4,
  DISPATCH_PROPERTYPUTREF = 0x8,
};
constexpr DISPID DISPID_UNKNOWN = -1;
constexpr DISPID DISPID_PROPERTYPUT = -3;

struct IDispatch : IUnknown {
  static constexpr GUID IID_ = com::MakeGuid("{00020400-0000-0000-C000-000000000046}");
  using Base = IUnknown;
  virtual HRESULT GetTypeInfoCount(std::uint32_t* count) = 0;
  virtual HRESULT GetTypeInfo(std::uint32_t index, LCID lcid, ITypeInfo** info) = 0;
  virtual HRESULT GetIDsOfNames(REFIID reserved, LPOLESTR* names, std::uint32_t count, LCID lcid,
                                DISPID* ids) = 0;
  virtual HRESULT Invoke(DISPID member, REFIID reserved, LCID lcid, std::uint16_t flags,
                         DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                         std::uint32_t* argError) = 0;
};
