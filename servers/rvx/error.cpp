#include "servers/rvx/error.h"

#include <string>

#include "platform/com/error_info.h"
#include "platform/com/utf.h"

namespace rvx {

HRESULT Fail(HRESULT hr, std::u16string_view source, std::u16string_view description,
             const GUID& iid) {
  com::SetThreadErrorInfo(source, description, iid);
  return hr;
}

HRESULT FailUtf8(HRESULT hr, std::u16string_view source, std::string_view description,
                 const GUID& iid) {
  std::u16string wide;
  if (auto converted = com::TryToUtf16(description)) {
    wide = std::move(*converted);
  } else {
    wide = u"(undecodable message)";
  }
  return Fail(hr, source, wide, iid);
}

}  // namespace rvx
