#pragma once
// Per-thread error information, as a failing object leaves it for its caller.
#include <cstdint>

#include "platform/com/bstr.h"
#include "platform/com/unknown.h"

struct IErrorInfo : IUnknown {
  static constexpr GUID IID_ = com::MakeGuid("{1CF2B120-547D-101B-8E65-08002B2BD119}");
  using Base = IUnknown;
  virtual HRESULT GetGUID(GUID* guid) = 0;
  virtual HRESULT GetSource(BSTR* source) = 0;
  virtual HRESULT GetDescription(BSTR* description) = 0;
  virtual HRESULT GetHelpFile(BSTR* helpFile) = 0;
  virtual HRESULT GetHelpContext(std::uint32_t* helpContext) = 0;
};

struct ICreateErrorInfo : IUnknown {
  static constexpr GUID IID_ = com::MakeGuid("{22F03340-547D-101B-8E65-08002B2BD119}");
  using Base = IUnknown;
  virtual HRESULT SetGUID(REFGUID guid) = 0;
  virtual HRESULT SetSource(LPCOLESTR source) = 0;
  virtual HRESULT SetDescription(LPCOLESTR description) = 0;
  virtual HRESULT SetHelpFile(LPCOLESTR helpFile) = 0;
  virtual HRESULT SetHelpContext(std::uint32_t helpContext) = 0;
};

struct ISupportErrorInfo : IUnknown {
  static constexpr GUID IID_ = com::MakeGuid("{DF0B3D60-548F-101B-8E65-08002B2BD119}");
  using Base = IUnknown;
  // S_OK when the object leaves error information for failures of that interface.
  virtual HRESULT InterfaceSupportsErrorInfo(REFIID iid) = 0;
};

// A new, empty error-information object.
HRESULT CreateErrorInfo(ICreateErrorInfo** out);
// Sets (or, with null, clears) the calling thread's error information. reserved must be 0.
HRESULT SetErrorInfo(std::uint32_t reserved, IErrorInfo* info);
// Takes the calling thread's error information (clearing it): S_OK with it, S_FALSE and null
// without.
HRESULT GetErrorInfo(std::uint32_t reserved, IErrorInfo** out);

namespace com {

// Creates error information with source, description and interface identity and sets it for the
// calling thread. Returns false when it could not be created.
bool SetThreadErrorInfo(std::u16string_view source, std::u16string_view description,
                        const GUID& iid = GUID_NULL);

}  // namespace com
