#pragma once
// The root interface of the component model and the owning pointer that callers hold it by.
#include <cstddef>
#include <utility>

#include "platform/com/guid.h"
#include "platform/com/result.h"

// Every interface declares its identity as IID_ and its parent interface as Base.
struct IUnknown {
  static constexpr GUID IID_ = com::MakeGuid("{00000000-0000-0000-C000-000000000046}");
  using Base = void;

  virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

 protected:
  ~IUnknown() = default;
};

inline constexpr const GUID& IID_IUnknown = IUnknown::IID_;

namespace com {

// Owning interface pointer: copying adds a reference, destruction releases it.
template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  // Adopts a new reference to p (adds one).
  ComPtr(T* p) : p_(p) {
    if (p_) p_->AddRef();
  }
  ComPtr(const ComPtr& other) : ComPtr(other.p_) {}
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  template <class U>
  ComPtr(const ComPtr<U>& other) : ComPtr(static_cast<T*>(other.Get())) {}
  ~ComPtr() { Reset(); }

  ComPtr& operator=(const ComPtr& other) {
    ComPtr(other).Swap(*this);
    return *this;
  }
  ComPtr& operator=(ComPtr&& other) noexcept {
    ComPtr(std::move(other)).Swap(*this);
    return *this;
  }
  ComPtr& operator=(T* p) {
    ComPtr(p).Swap(*this);
    return *this;
  }
  ComPtr& operator=(std::nullptr_t) {
    Reset();
    return *this;
  }

  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  T& operator*() const { return *p_; }
  explicit operator bool() const { return p_ != nullptr; }

  // For out-parameters: releases what was held first, then hands out the slot.
  T** operator&() {
    Reset();
    return &p_;
  }
  // The slot as void** for QueryInterface-style out-parameters; releases what was held first.
  void** ReleaseAndGetVoidAddress() {
    Reset();
    return reinterpret_cast<void**>(&p_);
  }

  void Reset() {
    if (T* p = std::exchange(p_, nullptr)) p->Release();
  }
  // Takes over a reference without adding one.
  void Attach(T* p) {
    Reset();
    p_ = p;
  }
  // Gives up the reference without releasing it.
  [[nodiscard]] T* Detach() { return std::exchange(p_, nullptr); }
  // Hands a new reference to an out-parameter.
  HRESULT CopyTo(T** out) const {
    if (!out) return E_POINTER;
    *out = p_;
    if (p_) p_->AddRef();
    return S_OK;
  }
  void Swap(ComPtr& other) noexcept { std::swap(p_, other.p_); }

  // Typed query for another interface of the same object: p.As(&other).
  template <class U>
  HRESULT As(U** out) const {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!p_) return E_POINTER;
    return p_->QueryInterface(U::IID_, reinterpret_cast<void**>(out));
  }
  template <class U>
  ComPtr<U> Query() const {
    ComPtr<U> result;
    As(&result);
    return result;
  }

  friend bool operator==(const ComPtr& a, const ComPtr& b) { return a.p_ == b.p_; }
  friend bool operator==(const ComPtr& a, std::nullptr_t) { return a.p_ == nullptr; }

 private:
  T* p_ = nullptr;
};

// Takes over an existing reference (no AddRef).
template <class T>
ComPtr<T> Adopt(T* p) {
  ComPtr<T> result;
  result.Attach(p);
  return result;
}

}  // namespace com
