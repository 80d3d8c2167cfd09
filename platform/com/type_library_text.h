#pragma once
// The description of a type library, and its text form: a small subset of the interface
// definition language in which a module describes its automation types.
//
//   [uuid(...), version(1.0), helpstring("Things 1.0 Type Library")]
//   library THINGSLib
//   {
//     importlib("stdole2.tlb");
//     [object, uuid(...), dual, oleautomation, helpstring("IThing Interface")]
//     interface IThing : IDispatch
//     {
//       [propput, id(1), helpstring("property Name")] HRESULT Name([in] BSTR newVal);
//       [id(2), helpstring("method Count")] HRESULT Count([out, retval] long* count);
//     };
//     [uuid(...), helpstring("Thing Class")]
//     coclass Thing { [default] interface IThing; };
//   };
//
// Types: BSTR, long, short, DATE, VARIANT_BOOL, VARIANT, each optionally followed by one '*'
// (passed by reference). Every member returns HRESULT.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/com/dispatch.h"
#include "platform/com/guid.h"
#include "platform/com/variant.h"

enum INVOKEKIND : std::int32_t {
  INVOKE_FUNC = 1,
  INVOKE_PROPERTYGET = 2,
  INVOKE_PROPERTYPUT = 4,
  INVOKE_PROPERTYPUTREF = 8,
};

enum : std::uint16_t {
  PARAMFLAG_NONE = 0,
  PARAMFLAG_FIN = 0x1,
  PARAMFLAG_FOUT = 0x2,
  PARAMFLAG_FRETVAL = 0x8,
};

enum TYPEKIND : std::int32_t {
  TKIND_ENUM = 0,
  TKIND_RECORD = 1,
  TKIND_MODULE = 2,
  TKIND_INTERFACE = 3,
  TKIND_DISPATCH = 4,
  TKIND_COCLASS = 5,
};

enum : std::uint16_t {
  TYPEFLAG_FCANCREATE = 0x2,
  TYPEFLAG_FDUAL = 0x40,
  TYPEFLAG_FNONEXTENSIBLE = 0x80,
  TYPEFLAG_FOLEAUTOMATION = 0x100,
};

enum : std::int32_t { IMPLTYPEFLAG_FDEFAULT = 0x1 };

namespace com::typelib {

struct Parameter {
  std::string name;
  VARTYPE type = VT_EMPTY;  // VT_BYREF added for a pointer
  std::uint16_t flags = PARAMFLAG_NONE;
};

struct Member {
  std::string name;
  DISPID id = 0;
  INVOKEKIND kind = INVOKE_FUNC;
  std::vector<Parameter> parameters;
  std::string help;
};

struct Interface {
  std::string name;
  GUID iid;
  std::string base;  // "IDispatch" or "IUnknown"
  std::uint16_t flags = 0;
  std::string help;
  std::vector<Member> members;
};

struct CoClass {
  std::string name;
  CLSID clsid;
  std::uint16_t flags = TYPEFLAG_FCANCREATE;
  std::string help;
  std::vector<std::string> interfaces;
  std::string defaultInterface;
};

struct Library {
  std::string name;
  GUID libid;
  std::uint16_t major = 0;
  std::uint16_t minor = 0;
  std::string help;
  std::vector<std::string> imports;
  std::vector<Interface> interfaces;
  std::vector<CoClass> coclasses;

  const Interface* FindInterface(std::string_view name) const;
};

// nullopt with the line and the reason in *error for text that is not a valid description
// (syntax, unknown type, duplicate DISPID of the same kind, retval not last, ...).
std::optional<Library> ParseTypeLibraryText(std::string_view text, std::string* error = nullptr);

}  // namespace com::typelib
