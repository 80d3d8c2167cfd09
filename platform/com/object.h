#pragma once
// Reference-counted objects with an interface table, plain or aggregated.
//
//   class Thing : public com::Implements<IThing, ISupportErrorInfo> { ... };
//   com::ComPtr<Thing> thing;
//   HRESULT hr = com::Object<Thing>::Create(&thing, constructor args...);  // one reference
//
// Interface lookup answers each listed interface and every interface it derives from.
// A class may define HRESULT FinalConstruct(); Create runs it and destroys the object when it
// fails.
//
// A class that answers further interfaces (an outer object handing out the interfaces of an
// aggregated inner object) hides InternalQueryInterface with its own, which asks
// Implements::InternalQueryInterface first and the inner object's non-delegating IUnknown
// after.
#include <atomic>
#include <memory>
#include <type_traits>

#include "platform/com/unknown.h"

namespace com {

namespace detail {
template <class I>
constexpr bool DerivesFromIid(REFIID iid) {
  if (iid == I::IID_) return true;
  if constexpr (!std::is_void_v<typename I::Base>) {
    return DerivesFromIid<typename I::Base>(iid);
  } else {
    return false;
  }
}

template <class T>
concept HasFinalConstruct = requires(T t) {
  { t.FinalConstruct() } -> std::same_as<HRESULT>;
};
}  // namespace detail

template <class First, class... Rest>
class Implements : public First, public Rest... {
 public:
  // One declaration that overrides the IUnknown operations of every listed interface, so that
  // calls through the class itself are not ambiguous. Object or Aggregated define them.
  HRESULT QueryInterface(REFIID iid, void** out) override = 0;
  ULONG AddRef() override = 0;
  ULONG Release() override = 0;

  // The object's identity: the IUnknown of its first interface.
  IUnknown* GetUnknown() { return static_cast<First*>(this); }

 protected:
  Implements() = default;
  virtual ~Implements() = default;

  // Interface table lookup. Adds a reference through the returned interface, which for an
  // aggregated object goes to the outer object, as aggregation requires.
  HRESULT InternalQueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    IUnknown* found = iid == IUnknown::IID_ ? GetUnknown() : Find<First, Rest...>(iid);
    if (!found) return E_NOINTERFACE;
    found->AddRef();
    *out = found;
    return S_OK;
  }

 private:
  template <class I, class... More>
  IUnknown* Find(REFIID iid) {
    // The I subobject is also a valid pointer to each of its base interfaces.
    if (detail::DerivesFromIid<I>(iid)) return static_cast<I*>(this);
    if constexpr (sizeof...(More) > 0) {
      return Find<More...>(iid);
    } else {
      return nullptr;
    }
  }
};

// A plain, self-counting object. Deleted when its count drops to zero.
template <class T>
class Object final : public T {
 public:
  template <class... Args>
  explicit Object(Args&&... args) : T(std::forward<Args>(args)...) {}

  HRESULT QueryInterface(REFIID iid, void** out) override {
    return this->InternalQueryInterface(iid, out);
  }
  ULONG AddRef() override { return ++count_; }
  ULONG Release() override {
    ULONG remaining = --count_;
    if (remaining == 0) delete this;
    return remaining;
  }

  // Creates the object, runs its FinalConstruct when it has one, and hands out a reference.
  // Create(&comPtr, args...) with a ComPtr<T>.
  template <class... Args>
  static HRESULT Create(T** out, Args&&... args) {
    if (!out) return E_POINTER;
    *out = nullptr;
    std::unique_ptr<Object> object(new (std::nothrow) Object(std::forward<Args>(args)...));
    if (!object) return E_OUTOFMEMORY;
    // The reference handed out is counted before FinalConstruct, so that a FinalConstruct which
    // hands itself around (AddRef, then Release) cannot bring the count to zero and delete the
    // object under our feet.
    object->count_ = 1;
    if constexpr (detail::HasFinalConstruct<T>) {
      HRESULT hr = object->FinalConstruct();
      if (FAILED(hr)) return hr;
    }
    *out = object.release();
    return S_OK;
  }

 private:
  std::atomic<ULONG> count_{0};
};

// An object living inside an outer object: its IUnknown calls go to the outer object, and the
// outer object holds it through its own, non-delegating IUnknown (Inner()).
template <class T>
class Aggregated final : public T {
 public:
  template <class... Args>
  explicit Aggregated(IUnknown* outer, Args&&... args)
      : T(std::forward<Args>(args)...), outer_(outer), inner_(this) {}

  HRESULT QueryInterface(REFIID iid, void** out) override {
    return outer_->QueryInterface(iid, out);
  }
  ULONG AddRef() override { return outer_->AddRef(); }
  ULONG Release() override { return outer_->Release(); }

  IUnknown* Inner() { return &inner_; }
  IUnknown* Outer() const { return outer_; }

  // Creates the inner object and hands its non-delegating IUnknown to *inner (one reference).
  template <class... Args>
  static HRESULT Create(IUnknown* outer, IUnknown** inner, Args&&... args) {
    if (!inner) return E_POINTER;
    *inner = nullptr;
    if (!outer) return E_INVALIDARG;
    std::unique_ptr<Aggregated> object(new (std::nothrow)
                                           Aggregated(outer, std::forward<Args>(args)...));
    if (!object) return E_OUTOFMEMORY;
    object->inner_.count_ = 1;  // as in Object::Create: counted before FinalConstruct
    if constexpr (detail::HasFinalConstruct<T>) {
      HRESULT hr = object->FinalConstruct();
      if (FAILED(hr)) return hr;
    }
    *inner = &object.release()->inner_;
    return S_OK;
  }

 private:
  class InnerUnknown final : public IUnknown {
   public:
    explicit InnerUnknown(Aggregated* self) : self_(self) {}
    HRESULT QueryInterface(REFIID iid, void** out) override {
      if (!out) return E_POINTER;
      if (iid == IUnknown::IID_) {
        *out = static_cast<IUnknown*>(this);
        AddRef();
        return S_OK;
      }
      return self_->InternalQueryInterface(iid, out);
    }
    ULONG AddRef() override { return ++count_; }
    ULONG Release() override {
      ULONG remaining = --count_;
      if (remaining == 0) delete self_;
      return remaining;
    }

   private:
    friend class Aggregated;
    Aggregated* self_;
    std::atomic<ULONG> count_{0};
  };

  IUnknown* outer_;
  InnerUnknown inner_;
};

}  // namespace com
