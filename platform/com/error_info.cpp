#include "platform/com/error_info.h"

#include <new>

#include "platform/com/object.h"

namespace {

class ErrorInfo : public com::Implements<IErrorInfo, ICreateErrorInfo> {
 public:
  HRESULT GetGUID(GUID* guid) override {
    if (!guid) return E_INVALIDARG;
    *guid = guid_;
    return S_OK;
  }
  HRESULT GetSource(BSTR* out) override { return CopyOut(source_, out); }
  HRESULT GetDescription(BSTR* out) override { return CopyOut(description_, out); }
  HRESULT GetHelpFile(BSTR* out) override { return CopyOut(helpFile_, out); }
  HRESULT GetHelpContext(std::uint32_t* out) override {
    if (!out) return E_INVALIDARG;
    *out = helpContext_;
    return S_OK;
  }

  HRESULT SetGUID(REFGUID guid) override {
    guid_ = guid;
    return S_OK;
  }
  HRESULT SetSource(LPCOLESTR text) override { return Store(source_, text); }
  HRESULT SetDescription(LPCOLESTR text) override { return Store(description_, text); }
  HRESULT SetHelpFile(LPCOLESTR text) override { return Store(helpFile_, text); }
  HRESULT SetHelpContext(std::uint32_t context) override {
    helpContext_ = context;
    return S_OK;
  }

 private:
  static HRESULT CopyOut(const com::BStr& text, BSTR* out) {
    if (!out) return E_INVALIDARG;
    *out = text.Copy();
    return (*out || text.IsNull()) ? S_OK : E_OUTOFMEMORY;
  }
  static HRESULT Store(com::BStr& field, LPCOLESTR text) {
    BSTR copy = SysAllocString(text);
    if (text && !copy) return E_OUTOFMEMORY;
    field.Attach(copy);
    return S_OK;
  }

  GUID guid_{};
  com::BStr source_;
  com::BStr description_;
  com::BStr helpFile_;
  std::uint32_t helpContext_ = 0;
};

thread_local com::ComPtr<IErrorInfo> t_errorInfo;

}  // namespace

HRESULT CreateErrorInfo(ICreateErrorInfo** out) {
  if (!out) return E_INVALIDARG;
  *out = nullptr;
  com::ComPtr<ErrorInfo> info;
  HRESULT hr = com::Object<ErrorInfo>::Create(&info);
  if (FAILED(hr)) return hr;
  *out = static_cast<ICreateErrorInfo*>(info.Get());
  (*out)->AddRef();
  return S_OK;
}

HRESULT SetErrorInfo(std::uint32_t reserved, IErrorInfo* info) {
  if (reserved != 0) return E_INVALIDARG;
  t_errorInfo = info;
  return S_OK;
}

HRESULT GetErrorInfo(std::uint32_t reserved, IErrorInfo** out) {
  if (reserved != 0 || !out) return E_INVALIDARG;
  *out = t_errorInfo.Detach();
  return *out ? S_OK : S_FALSE;
}

namespace com {

bool SetThreadErrorInfo(std::u16string_view source, std::u16string_view description,
                        const GUID& iid) {
  try {
    ComPtr<ICreateErrorInfo> create;
    if (FAILED(CreateErrorInfo(&create))) return false;
    BStr sourceText(source);
    BStr descriptionText(description);
    create->SetGUID(iid);
    if (FAILED(create->SetSource(sourceText.Get())) ||
        FAILED(create->SetDescription(descriptionText.Get()))) {
      return false;
    }
    ComPtr<IErrorInfo> info = create.Query<IErrorInfo>();
    if (!info) return false;
    SetErrorInfo(0, info.Get());
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

}  // namespace com
