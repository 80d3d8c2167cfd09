#pragma once
// A command: one block of the revision package with its positional parameters, run against the
// project it was given.
#include "platform/com/bstr.h"
#include "platform/com/error_info.h"
#include "platform/com/object.h"
#include "servers/rvx/parameters.h"
#include "services/rvx.h"

namespace rvx {

class Project;

class Command : public com::Implements<IRvxCommand, ISupportErrorInfo> {
 public:
  HRESULT FinalConstruct();

  HRESULT SetProject(IRvxProject* project) override;
  HRESULT Execute(std::int32_t options) override;
  HRESULT put_CommandText(BSTR text) override;
  HRESULT get_Parameters(IRvxParameters** parameters) override;
  HRESULT CreateParameter(BSTR name, std::int32_t dataType, std::int32_t direction, VARIANT value,
                          IRvxParameter** parameter) override;
  HRESULT InterfaceSupportsErrorInfo(REFIID iid) override;

 private:
  com::ComPtr<IRvxProject> project_;
  com::BStr text_;
  com::ComPtr<Parameters> parameters_;
};

}  // namespace rvx
