#pragma once
// Runs the body of an interface method and turns whatever it throws into a result code with
// error information, so that nothing escapes through the interface.
#include <exception>
#include <new>
#include <string>

#include "platform/com/utf.h"
#include "servers/rvx/error.h"
#include "servers/store/store_error.h"

namespace rvx {

template <class F>
HRESULT GuardedCall(std::u16string_view source, const GUID& iid, F&& body) {
  try {
    return body();
  } catch (const store::StoreError& error) {
    HRESULT hr = error.Kind() == store::StoreErrorKind::BadHandle ? E_INVALIDARG : E_FAIL;
    return FailUtf8(hr, source, error.what(), iid);
  } catch (const com::TextConversionError& error) {
    return FailUtf8(E_INVALIDARG, source, std::string("Text cannot be converted: ") + error.what(),
                    iid);
  } catch (const std::bad_alloc&) {
    return Fail(E_OUTOFMEMORY, source, u"Out of memory", iid);
  } catch (const std::exception& error) {
    return FailUtf8(E_FAIL, source, error.what(), iid);
  } catch (...) {
    return Fail(E_UNEXPECTED, source, u"Unexpected failure", iid);
  }
}

}  // namespace rvx
