#pragma once
// Type libraries: loading one from a module (its "TYPELIB" resource 1) or from a text file,
// registering it under the classes root, and loading it again by its identity and version.
//
// Registered as (under HKEY_CLASSES_ROOT):
//   TypeLib\{LIBID}\MAJOR.MINOR          = help text
//   TypeLib\{LIBID}\MAJOR.MINOR\0\linux64 = the file's full path
//   TypeLib\{LIBID}\MAJOR.MINOR\FLAGS    = "0"
//   TypeLib\{LIBID}\MAJOR.MINOR\HELPDIR  = help folder
//   Interface\{IID} = name, with TypeLib = {LIBID} (value Version = "MAJOR.MINOR"), for each
//   interface that automation can call.
#include <cstdint>
#include <string_view>

#include "platform/com/type_info.h"

enum SYSKIND : std::int32_t {
  SYS_WIN16 = 0,
  SYS_WIN32 = 1,
  SYS_MAC = 2,
  SYS_WIN64 = 3,
  SYS_LINUX64 = 64
};

struct TLIBATTR {
  GUID guid;
  LCID lcid;
  SYSKIND syskind;
  std::uint16_t wMajorVerNum;
  std::uint16_t wMinorVerNum;
  std::uint16_t wLibFlags;
};

struct ITypeLib : IUnknown {
  static constexpr GUID IID_ = com::MakeGuid("{00020402-0000-0000-C000-000000000046}");
  using Base = IUnknown;
  virtual std::uint32_t GetTypeInfoCount() = 0;
  virtual HRESULT GetTypeInfo(std::uint32_t index, ITypeInfo** info) = 0;
  virtual HRESULT GetTypeInfoType(std::uint32_t index, TYPEKIND* kind) = 0;
  virtual HRESULT GetTypeInfoOfGuid(REFGUID guid, ITypeInfo** info) = 0;
  // Valid until ReleaseTLibAttr.
  virtual HRESULT GetLibAttr(TLIBATTR** attr) = 0;
  // index -1: the library itself.
  virtual HRESULT GetDocumentation(std::int32_t index, BSTR* name, BSTR* docString,
                                   std::uint32_t* helpContext, BSTR* helpFile) = 0;
  virtual void ReleaseTLibAttr(TLIBATTR* attr) = 0;
};

constexpr HRESULT TYPE_E_ELEMENTNOTFOUND = MakeHresult(0x8002802Bu);
constexpr HRESULT TYPE_E_LIBNOTREGISTERED = MakeHresult(0x8002801Du);
constexpr HRESULT TYPE_E_CANTLOADLIBRARY = MakeHresult(0x80029C4Au);
constexpr HRESULT TYPE_E_INVALIDSTATE = MakeHresult(0x80028029u);
constexpr HRESULT TYPE_E_REGISTRYACCESS = MakeHresult(0x8002801Cu);

// A module file (its "TYPELIB" resource 1) or a file holding the description's text.
HRESULT LoadTypeLib(LPCOLESTR file, ITypeLib** lib);
// The registered library of that identity and major version whose minor version is the highest
// at least the one asked for.
HRESULT LoadRegTypeLib(REFGUID libid, std::uint16_t major, std::uint16_t minor, LCID lcid,
                       ITypeLib** lib);
// fullPath is where the library is loaded from again; helpDir may be null.
HRESULT RegisterTypeLib(ITypeLib* lib, LPCOLESTR fullPath, LPCOLESTR helpDir);
HRESULT UnRegisterTypeLib(REFGUID libid, std::uint16_t major, std::uint16_t minor, LCID lcid,
                          SYSKIND syskind);

namespace com {

// A library from its description's text; TYPE_E_CANTLOADLIBRARY (reason in *error) when the
// text is not a valid description.
HRESULT CreateTypeLibFromText(std::string_view text, ITypeLib** lib, std::string* error = nullptr);
// A library over a parsed description.
HRESULT CreateTypeLib(std::shared_ptr<const typelib::Library> library, ITypeLib** lib);

}  // namespace com
