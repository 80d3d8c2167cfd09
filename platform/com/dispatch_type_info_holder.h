#pragma once
// The dispatch half of a dual interface, answered from the interface's type information in its
// registered type library, which is loaded on first use and kept while the holder lives.
//
//   HRESULT Thing::Invoke(DISPID id, REFIID, LCID lcid, std::uint16_t flags, DISPPARAMS* p,
//                         VARIANT* r, EXCEPINFO* e, std::uint32_t* a) {
//     return holder.Invoke(static_cast<IThing*>(this), id, flags, p, r, e, a);
//   }
#include <cstdint>
#include <mutex>

#include "platform/com/type_library.h"

namespace com {

class TypeInfoHolder {
 public:
  TypeInfoHolder(const GUID& libid, std::uint16_t major, std::uint16_t minor, const IID& iid)
      : libid_(libid), major_(major), minor_(minor), iid_(iid) {}
  TypeInfoHolder(const TypeInfoHolder&) = delete;
  TypeInfoHolder& operator=(const TypeInfoHolder&) = delete;

  HRESULT GetTypeInfoCount(std::uint32_t* count);
  HRESULT GetTypeInfo(std::uint32_t index, LCID lcid, ITypeInfo** info);
  HRESULT GetIDsOfNames(REFIID reserved, LPOLESTR* names, std::uint32_t count, LCID lcid,
                        DISPID* ids);
  // instance: the interface pointer the type information describes.
  HRESULT Invoke(void* instance, DISPID member, REFIID reserved, std::uint16_t flags,
                 DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                 std::uint32_t* argError);
  // Lets go of the type information (a module does so when it is unloaded).
  void Release();

 private:
  HRESULT Ensure(ComPtr<ITypeInfo>* info);

  GUID libid_;
  std::uint16_t major_;
  std::uint16_t minor_;
  IID iid_;
  std::mutex mutex_;
  ComPtr<ITypeInfo> info_;
};

}  // namespace com
