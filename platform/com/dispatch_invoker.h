#pragma once
// The early-bound calls behind late-bound Invoke. A module that implements a dual interface
// registers, for the interface's identity, one invoker per member; each unpacks arguments that
// ITypeInfo::Invoke has already checked and converted to the declared types and calls the
// member through the interface pointer:
//
//   constexpr com::MemberInvoker kThingInvokers[] = {
//       com::Invoker<&IThing::put_Name>(1, INVOKE_PROPERTYPUT),
//       com::Invoker<&IThing::Count>(2),
//   };
//   com::InvokerRegistration registration(IThing::IID_, kThingInvokers);
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>

#include "platform/com/type_info.h"

namespace com {

inline constexpr std::size_t kMaxInvokerParameters = 8;

// args: one variant per declared parameter, in declared order, each of the declared type (a
// VT_BYREF variant for a pointer).
using MemberCall = HRESULT (*)(void* instance, VARIANT* const* args);

struct MemberInvoker {
  MEMBERID id = 0;
  INVOKEKIND kind = INVOKE_FUNC;
  std::size_t parameterCount = 0;
  std::array<VARTYPE, kMaxInvokerParameters> parameterTypes{};
  MemberCall call = nullptr;
};

namespace detail {

template <class T>
struct ArgumentOf;
template <>
struct ArgumentOf<BSTR> {
  static constexpr VARTYPE kType = VT_BSTR;
  static BSTR Get(VARIANT* v) { return v->bstrVal; }
};
template <>
struct ArgumentOf<std::int32_t> {
  static constexpr VARTYPE kType = VT_I4;
  static std::int32_t Get(VARIANT* v) { return v->lVal; }
};
template <>
struct ArgumentOf<std::int16_t> {
  static constexpr VARTYPE kType = VT_I2;  // also VARIANT_BOOL
  static std::int16_t Get(VARIANT* v) { return v->iVal; }
};
template <>
struct ArgumentOf<DATE> {
  static constexpr VARTYPE kType = VT_DATE;
  static DATE Get(VARIANT* v) { return v->date; }
};
template <>
struct ArgumentOf<VARIANT> {
  static constexpr VARTYPE kType = VT_VARIANT;
  static VARIANT Get(VARIANT* v) { return *v; }
};
template <>
struct ArgumentOf<BSTR*> {
  static constexpr VARTYPE kType = VT_BYREF | VT_BSTR;
  static BSTR* Get(VARIANT* v) { return v->pbstrVal; }
};
template <>
struct ArgumentOf<std::int32_t*> {
  static constexpr VARTYPE kType = VT_BYREF | VT_I4;
  static std::int32_t* Get(VARIANT* v) { return v->plVal; }
};
template <>
struct ArgumentOf<std::int16_t*> {
  static constexpr VARTYPE kType = VT_BYREF | VT_I2;
  static std::int16_t* Get(VARIANT* v) { return v->piVal; }
};
template <>
struct ArgumentOf<DATE*> {
  static constexpr VARTYPE kType = VT_BYREF | VT_DATE;
  static DATE* Get(VARIANT* v) { return v->pdate; }
};
template <>
struct ArgumentOf<VARIANT*> {
  static constexpr VARTYPE kType = VT_BYREF | VT_VARIANT;
  static VARIANT* Get(VARIANT* v) { return v->pvarVal; }
};

template <auto Method>
struct MethodTraits;
template <class I, class... Args, HRESULT (I::*Method)(Args...)>
struct MethodTraits<Method> {
  static_assert(sizeof...(Args) <= kMaxInvokerParameters, "too many parameters");
  static constexpr std::size_t kCount = sizeof...(Args);
  static constexpr std::array<VARTYPE, kMaxInvokerParameters> Types() {
    std::array<VARTYPE, kMaxInvokerParameters> types{};
    std::size_t i = 0;
    ((types[i++] = ArgumentOf<Args>::kType), ...);
    return types;
  }
  static HRESULT Call(void* instance, VARIANT* const* args) {
    return CallWith(static_cast<I*>(instance), args, std::index_sequence_for<Args...>{});
  }
  template <std::size_t... Is>
  static HRESULT CallWith(I* target, [[maybe_unused]] VARIANT* const* args,
                          std::index_sequence<Is...>) {
    return (target->*Method)(ArgumentOf<Args>::Get(args[Is])...);
  }
};

}  // namespace detail

// The invoker of a member function HRESULT I::Method(Args...).
template <auto Method>
constexpr MemberInvoker Invoker(MEMBERID id, INVOKEKIND kind = INVOKE_FUNC) {
  using Traits = detail::MethodTraits<Method>;
  return MemberInvoker{id, kind, Traits::kCount, Traits::Types(), &Traits::Call};
}

// Registers the invokers of an interface for this process while it lives; the newest
// registration of an interface wins. The invokers must outlive it.
class InvokerRegistration {
 public:
  InvokerRegistration(const IID& iid, std::span<const MemberInvoker> invokers);
  ~InvokerRegistration();
  InvokerRegistration(const InvokerRegistration&) = delete;
  InvokerRegistration& operator=(const InvokerRegistration&) = delete;

 private:
  std::uint64_t token_;
};

// The invoker of a member of an interface; nullopt when none is registered.
std::optional<MemberInvoker> FindInvoker(const IID& iid, MEMBERID id, INVOKEKIND kind);

}  // namespace com
