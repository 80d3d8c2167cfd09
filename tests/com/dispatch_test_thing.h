#pragma once
// A small dual interface with members of every shape the dispatch code handles, its type
// library text, and an object implementing it.
#include <string>

#include "platform/com/bstr.h"
#include "platform/com/dispatch_invoker.h"
#include "platform/com/dispatch_type_info_holder.h"
#include "platform/com/error_info.h"
#include "platform/com/object.h"

namespace com_test {

inline constexpr GUID kThingLibId = com::MakeGuid("{7D3E0C11-5A1B-4C2D-9E3F-00000000A001}");
inline constexpr GUID kThingClsid = com::MakeGuid("{7D3E0C11-5A1B-4C2D-9E3F-00000000A002}");

struct IThing : IDispatch {
  static constexpr GUID IID_ = com::MakeGuid("{7D3E0C11-5A1B-4C2D-9E3F-00000000A003}");
  using Base = IDispatch;
  virtual HRESULT put_Name(BSTR name) = 0;
  virtual HRESULT get_Name(BSTR* name) = 0;
  virtual HRESULT Rename(BSTR first, BSTR second) = 0;
  virtual HRESULT GetParts(BSTR* first, BSTR* second) = 0;
  virtual HRESULT Count(std::int32_t* count) = 0;
  virtual HRESULT Add(std::int32_t a, std::int16_t b, std::int32_t* sum) = 0;
  virtual HRESULT Fail() = 0;
  virtual HRESULT FailQuietly() = 0;
};

inline constexpr char kThingTypeLibrary[] = R"(
// The test library.
[uuid(7D3E0C11-5A1B-4C2D-9E3F-00000000A001), version(1.2), helpstring("Thing 1.2 Type Library")]
library THINGLib
{
  importlib("stdole2.tlb");

  [object, uuid(7D3E0C11-5A1B-4C2D-9E3F-00000000A003), dual, helpstring("IThing Interface"),
   pointer_default(unique)]
  interface IThing : IDispatch
  {
    [propput, id(1), helpstring("property Name")] HRESULT Name([in] BSTR newVal);
    [propget, id(1), helpstring("property Name")] HRESULT Name([out, retval] BSTR* pVal);
    [id(2), helpstring("method Rename")] HRESULT Rename([in] BSTR first, [in] BSTR second);
    [id(3), helpstring("method GetParts")] HRESULT GetParts([out] BSTR* first, [out] BSTR* second);
    [id(4), helpstring("method Count")] HRESULT Count([out, retval] long* count);
    [id(5), helpstring("method Add")] HRESULT Add([in] long a, [in] short b, [out, retval] long* sum);
    [id(6), helpstring("method Fail")] HRESULT Fail();
    [id(7), helpstring("method FailQuietly")] HRESULT FailQuietly();
  };

  [uuid(7D3E0C11-5A1B-4C2D-9E3F-00000000A002), helpstring("Thing Class")]
  coclass Thing
  {
    [default] interface IThing;
  };
};
)";

inline constexpr com::MemberInvoker kThingInvokers[] = {
    com::Invoker<&IThing::put_Name>(1, INVOKE_PROPERTYPUT),
    com::Invoker<&IThing::get_Name>(1, INVOKE_PROPERTYGET),
    com::Invoker<&IThing::Rename>(2),
    com::Invoker<&IThing::GetParts>(3),
    com::Invoker<&IThing::Count>(4),
    com::Invoker<&IThing::Add>(5),
    com::Invoker<&IThing::Fail>(6),
    com::Invoker<&IThing::FailQuietly>(7),
};

class Thing : public com::Implements<IThing> {
 public:
  explicit Thing(com::TypeInfoHolder& holder) : holder_(holder) {}

  HRESULT GetTypeInfoCount(std::uint32_t* count) override {
    return holder_.GetTypeInfoCount(count);
  }
  HRESULT GetTypeInfo(std::uint32_t index, LCID lcid, ITypeInfo** info) override {
    return holder_.GetTypeInfo(index, lcid, info);
  }
  HRESULT GetIDsOfNames(REFIID iid, LPOLESTR* names, std::uint32_t count, LCID lcid,
                        DISPID* ids) override {
    return holder_.GetIDsOfNames(iid, names, count, lcid, ids);
  }
  HRESULT Invoke(DISPID member, REFIID iid, LCID, std::uint16_t flags, DISPPARAMS* params,
                 VARIANT* result, EXCEPINFO* exception, std::uint32_t* argError) override {
    return holder_.Invoke(static_cast<IThing*>(this), member, iid, flags, params, result, exception,
                          argError);
  }

  HRESULT put_Name(BSTR name) override {
    name_ = com::BStr(std::u16string_view(name ? name : u"", SysStringLen(name)));
    return S_OK;
  }
  HRESULT get_Name(BSTR* name) override {
    *name = name_.Copy();
    return S_OK;
  }
  HRESULT Rename(BSTR first, BSTR second) override {
    renamed_ = std::u16string(first ? first : u"") + u"|" + (second ? second : u"");
    return S_OK;
  }
  HRESULT GetParts(BSTR* first, BSTR* second) override {
    SysFreeString(*first);
    *first = SysAllocString(u"left");
    SysFreeString(*second);
    *second = SysAllocString(u"right");
    return S_OK;
  }
  HRESULT Count(std::int32_t* count) override {
    *count = 42;
    return S_FALSE;
  }
  HRESULT Add(std::int32_t a, std::int16_t b, std::int32_t* sum) override {
    *sum = a + b;
    return S_OK;
  }
  HRESULT Fail() override {
    com::SetThreadErrorInfo(u"Thing.Thing.1", u"It went wrong", IThing::IID_);
    return E_ACCESSDENIED;
  }
  HRESULT FailQuietly() override { return E_FAIL; }

  const std::u16string& Renamed() const { return renamed_; }

 private:
  com::TypeInfoHolder& holder_;
  com::BStr name_;
  std::u16string renamed_;
};

}  // namespace com_test
