#include "platform/com/variant.h"

// Placeholder until type changes land.
HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, std::uint16_t, VARTYPE vt) {
  if (!dest || !src) return E_INVALIDARG;
  if (src->vt == vt) return VariantCopy(dest, src);
  return DISP_E_TYPEMISMATCH;
}
