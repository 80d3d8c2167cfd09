#pragma once
// The environment service: one environment object per host thread, found through its registry.
#include <cstdint>

#include "platform/com/bstr.h"
#include "platform/com/guid.h"
#include "platform/com/unknown.h"

inline constexpr CLSID CLSID_EnvRegistry = com::MakeGuid("{C4671234-EEAC-4A7F-92B5-2480542EFDDB}");
inline constexpr CLSID CLSID_Env = com::MakeGuid("{701DC9B5-2029-436B-84BB-F2C7C0500EC8}");

struct IEnvVariables;

struct IEnvRegistry : IUnknown {
  static constexpr GUID IID_ = com::MakeGuid("{B6A78674-EE98-447A-9A08-4E51A51DDB7C}");
  using Base = IUnknown;
  virtual HRESULT RegisterEnv(std::uint32_t threadId, IEnvVariables* env) = 0;
  virtual HRESULT UnregisterEnv(std::uint32_t threadId) = 0;
  // S_OK with the thread's object; another status and null when it has none.
  virtual HRESULT FindEnv(std::uint32_t threadId, IUnknown** env) = 0;
};

struct IEnvVariables : IUnknown {
  static constexpr GUID IID_ = com::MakeGuid("{C801AEA9-F413-4E5C-9D60-4DC7E565B29C}");
  using Base = IUnknown;
  // A failure, a null or an empty value all mean the variable has no value.
  virtual HRESULT GetVariable(BSTR name, BSTR* value) = 0;
};

struct IEnvProductMode : IUnknown {
  static constexpr GUID IID_ = com::MakeGuid("{1DEC92A2-6D38-4FCB-A926-BA74B143365F}");
  using Base = IUnknown;
  // Selector 1: the data-management product mode ("BASIC RVX" or "EXTENDED RVX").
  virtual HRESULT GetModeText(std::int32_t selector, BSTR* text) = 0;
};

struct IEnvDatabaseLink : IUnknown {
  static constexpr GUID IID_ = com::MakeGuid("{D4A98AFC-241F-4F66-A3AC-A0B92C30F679}");
  using Base = IUnknown;
  // The RVX database of the user's environment (an object offering IRvxDatabase).
  virtual HRESULT GetDatabase(IUnknown** database) = 0;
};
