#pragma once
// The data-management (RVX) server, as its callers use it.
#include <cstdint>

#include "platform/com/bstr.h"
#include "platform/com/guid.h"
#include "platform/com/unknown.h"
#include "platform/com/variant.h"

inline constexpr CLSID CLSID_RvxServer = com::MakeGuid("{2E53CDCB-49E2-4E88-9E09-2C2FEF052DB4}");
inline constexpr CLSID CLSID_RvxCommand = com::MakeGuid("{9324C5F2-88E8-4EB7-9226-01FA3A23F9A5}");

struct IRvxDatabase;
struct IRvxProject;
struct IRvxAccessControl;
struct IRvxParameters;
struct IRvxParameter;

struct IRvxServer : IUnknown {
  static constexpr GUID IID_ = com::MakeGuid("{509618EE-E42B-4FC6-A482-BCEFA1C29118}");
  using Base = IUnknown;
  virtual HRESULT OpenDatabase(BSTR projectName, IRvxDatabase** database) = 0;
  // The database of the named project if it is already open, else null.
  virtual HRESULT FindDatabase(VARIANT projectName, IRvxDatabase** database) = 0;
};

struct IRvxDatabase : IUnknown {
  static constexpr GUID IID_ = com::MakeGuid("{B774065B-220B-4F64-9069-5C074E3D0769}");
  using Base = IUnknown;
  virtual HRESULT Connect() = 0;
  // S_FALSE: no project.
  virtual HRESULT OpenProject(BSTR projectName, IRvxProject** project) = 0;
  // S_FALSE: no project.
  virtual HRESULT GetCurrentProject(IRvxProject** project) = 0;
  virtual HRESULT SetConnectText(BSTR text) = 0;
  // Commits the open transaction.
  virtual HRESULT Commit() = 0;
};

struct IRvxProject : IUnknown {
  static constexpr GUID IID_ = com::MakeGuid("{5ACCD272-0FC2-4018-8F1F-14141BF545AB}");
  using Base = IUnknown;
  virtual HRESULT GetAccessControl(IRvxAccessControl** accessControl) = 0;
};

struct IRvxAccessControl : IUnknown {
  static constexpr GUID IID_ = com::MakeGuid("{6484D909-56D1-4AAA-A5E3-DE61DDB2FFFB}");
  using Base = IUnknown;
  // Non-zero: the current user may run the function.
  virtual HRESULT IsFunctionAllowed(BSTR functionName, std::int32_t* allowed) = 0;
};

// Data type and direction codes of CreateParameter.
enum : std::int32_t {
  kRvxTypeText = 1,
  kRvxTypeNumber = 2,
  kRvxDirectionInput = 1,
  kRvxDirectionOutput = 2,
};

struct IRvxCommand : IUnknown {
  static constexpr GUID IID_ = com::MakeGuid("{A135A475-F4C4-42F9-8450-80F2A0D77FD8}");
  using Base = IUnknown;
  virtual HRESULT SetProject(IRvxProject* project) = 0;
  // Runs the command text (always called with 0); a failure code means not executed.
  virtual HRESULT Execute(std::int32_t options) = 0;
  virtual HRESULT put_CommandText(BSTR text) = 0;
  virtual HRESULT get_Parameters(IRvxParameters** parameters) = 0;
  virtual HRESULT CreateParameter(BSTR name, std::int32_t dataType, std::int32_t direction,
                                  VARIANT value, IRvxParameter** parameter) = 0;
};

struct IRvxParameters : IUnknown {
  static constexpr GUID IID_ = com::MakeGuid("{BA92BEB9-5979-45B4-99C7-980D3B42E1C4}");
  using Base = IUnknown;
  // Position (0-based, in append order) as a 32-bit integer variant.
  virtual HRESULT get_Item(VARIANT index, IRvxParameter** parameter) = 0;
  virtual HRESULT Append(IRvxParameter* parameter) = 0;
};

struct IRvxParameter : IUnknown {
  static constexpr GUID IID_ = com::MakeGuid("{FBFAF83D-E35A-4C35-B6DD-DDFDEE5A267D}");
  using Base = IUnknown;
  // Numbers as 32-bit integers, texts as texts, a null output as null.
  virtual HRESULT get_Value(VARIANT* value) = 0;
};
