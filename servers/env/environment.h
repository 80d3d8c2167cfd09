#pragma once
// An environment object: the variables the design environment's start-up put into the process
// environment, the data-management product mode of the current project and the link to that
// project's RVX database.
#include "platform/com/error_info.h"
#include "platform/com/object.h"
#include "services/env.h"

namespace env {

class Environment
    : public com::Implements<IEnvVariables, IEnvProductMode, IEnvDatabaseLink, ISupportErrorInfo> {
 public:
  // S_FALSE and a null value for an unset variable.
  HRESULT GetVariable(BSTR name, BSTR* value) override;
  // Selector 1: the current project's product mode as its store records it; S_FALSE and a null
  // text without a current project (or when the store does not know it).
  HRESULT GetModeText(std::int32_t selector, BSTR* text) override;
  // The current project's database, from the RVX server: the one already open in this process,
  // else a newly opened one.
  HRESULT GetDatabase(IUnknown** database) override;
  HRESULT InterfaceSupportsErrorInfo(REFIID iid) override;
};

// The variable naming the current project.
inline constexpr char kProjectVariable[] = "_#INT#_PROJECT";

}  // namespace env
