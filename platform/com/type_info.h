#pragma once
// Type information: what a caller learns about an interface from its type library, and the
// late-bound call of its members.
#include <cstdint>
#include <memory>

#include "platform/com/dispatch.h"
#include "platform/com/type_library_text.h"
#include "platform/com/unknown.h"

struct ITypeLib;

using MEMBERID = DISPID;
constexpr MEMBERID MEMBERID_NIL = DISPID_UNKNOWN;

struct TYPEATTR {
  GUID guid;
  LCID lcid;
  TYPEKIND typekind;
  std::uint16_t cFuncs;
  std::uint16_t cImplTypes;  // a coclass: its interfaces; an interface: 1 (its base)
  std::uint16_t wTypeFlags;
  std::uint16_t wMajorVerNum;
  std::uint16_t wMinorVerNum;
};

struct ELEMDESC {
  VARTYPE vt;  // VT_BYREF added for a pointer
  std::uint16_t wParamFlags;
};

struct FUNCDESC {
  MEMBERID memid;
  INVOKEKIND invkind;
  std::int16_t cParams;
  std::int16_t cParamsOpt;
  const ELEMDESC* lprgelemdescParam;  // cParams entries
  VARTYPE returnType;                 // VT_ERROR: every member returns a result code
};

struct ITypeInfo : IUnknown {
  static constexpr GUID IID_ = com::MakeGuid("{00020401-0000-0000-C000-000000000046}");
  using Base = IUnknown;
  // The attributes; valid until ReleaseTypeAttr.
  virtual HRESULT GetTypeAttr(TYPEATTR** attr) = 0;
  // The index-th member; valid until ReleaseFuncDesc.
  virtual HRESULT GetFuncDesc(std::uint32_t index, FUNCDESC** desc) = 0;
  // The member's name followed by its parameters' names, at most maxNames of them.
  virtual HRESULT GetNames(MEMBERID memid, BSTR* names, std::uint32_t maxNames,
                           std::uint32_t* count) = 0;
  // The implemented interface of a coclass (or the base of an interface) by index.
  virtual HRESULT GetRefTypeOfImplType(std::uint32_t index, std::uint32_t* refType) = 0;
  virtual HRESULT GetImplTypeFlags(std::uint32_t index, std::int32_t* flags) = 0;
  // names[0] a member, names[1..] its parameters, without regard to case.
  virtual HRESULT GetIDsOfNames(LPOLESTR* names, std::uint32_t count, MEMBERID* ids) = 0;
  // Calls the member on instance, the interface pointer this type information describes.
  virtual HRESULT Invoke(void* instance, MEMBERID memid, std::uint16_t flags, DISPPARAMS* params,
                         VARIANT* result, EXCEPINFO* exception, std::uint32_t* argError) = 0;
  // MEMBERID_NIL: the type itself.
  virtual HRESULT GetDocumentation(MEMBERID memid, BSTR* name, BSTR* docString,
                                   std::uint32_t* helpContext, BSTR* helpFile) = 0;
  virtual HRESULT GetRefTypeInfo(std::uint32_t refType, ITypeInfo** info) = 0;
  virtual HRESULT GetContainingTypeLib(ITypeLib** lib, std::uint32_t* index) = 0;
  virtual void ReleaseTypeAttr(TYPEATTR* attr) = 0;
  virtual void ReleaseFuncDesc(FUNCDESC* desc) = 0;
};

namespace com {

// Dispatch results beyond the common ones (in this namespace so that a later global definition
// does not clash).
constexpr HRESULT DISP_E_UNKNOWNINTERFACE = MakeHresult(0x80020001u);
constexpr HRESULT DISP_E_BADINDEX = MakeHresult(0x8002000Bu);

// Type information of the index-th type of a library (interfaces first, then coclasses).
HRESULT CreateTypeInfo(std::shared_ptr<const typelib::Library> library, std::uint32_t index,
                       ITypeInfo** out);

}  // namespace com
