#include "platform/com/variant.h"

#include <memory>
#include <new>

#include "platform/com/utf.h"

void VariantInit(VARIANT* v) {
  if (!v) return;
  v->vt = VT_EMPTY;
  v->wReserved1 = v->wReserved2 = v->wReserved3 = 0;
  v->byref = nullptr;
  v->date = 0;
}

HRESULT VariantClear(VARIANT* v) {
  if (!v) return E_INVALIDARG;
  switch (v->vt) {
    case VT_BSTR:
      SysFreeString(v->bstrVal);
      break;
    case VT_UNKNOWN:
    case VT_DISPATCH:
      if (v->punkVal) reinterpret_cast<IUnknown*>(v->punkVal)->Release();
      break;
    default:
      break;
  }
  VariantInit(v);
  return S_OK;
}

HRESULT VariantCopy(VARIANT* dest, const VARIANT* src) {
  if (!dest || !src) return E_INVALIDARG;
  if (dest == src) return S_OK;
  VARIANT copy = *src;
  switch (src->vt) {
    case VT_BSTR:
      if (src->bstrVal) {
        copy.bstrVal = SysAllocStringLen(src->bstrVal, SysStringLen(src->bstrVal));
        if (!copy.bstrVal) return E_OUTOFMEMORY;
      }
      break;
    case VT_UNKNOWN:
    case VT_DISPATCH:
      if (src->punkVal) reinterpret_cast<IUnknown*>(src->punkVal)->AddRef();
      break;
    default:
      break;
  }
  VariantClear(dest);
  *dest = copy;
  return S_OK;
}

namespace com {

Variant::Variant(std::u16string_view text) : Variant() {
  v_.bstrVal = SysAllocStringLen(text.data(), static_cast<std::uint32_t>(text.size()));
  if (!v_.bstrVal) throw std::bad_alloc();
  v_.vt = VT_BSTR;
}

Variant::Variant(const VARIANT& other) : Variant() {
  if (FAILED(VariantCopy(&v_, &other))) throw std::bad_alloc();
}

Variant::Variant(Variant&& other) noexcept : v_(other.v_) {
  VariantInit(&other.v_);
}

Variant& Variant::operator=(const Variant& other) {
  if (this != &other) {
    Variant copy(other);
    *this = std::move(copy);
  }
  return *this;
}

Variant& Variant::operator=(Variant&& other) noexcept {
  if (this != &other) {
    VariantClear(&v_);
    v_ = other.v_;
    VariantInit(&other.v_);
  }
  return *this;
}

Variant Variant::Utf8(std::string_view text) {
  return Variant(ToUtf16(text));
}

void Variant::Detach(VARIANT* dest) {
  *dest = v_;
  VariantInit(&v_);
}

std::u16string_view Variant::TextView() const {
  if (v_.vt != VT_BSTR || !v_.bstrVal) return {};
  return {v_.bstrVal, SysStringLen(v_.bstrVal)};
}

std::string Variant::TextUtf8() const {
  return ToUtf8(TextView());
}

}  // namespace com
