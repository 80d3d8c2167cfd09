#pragma once
// The function grants of a project for the user the process runs as.
#include <memory>
#include <string>

#include "platform/com/error_info.h"
#include "platform/com/object.h"
#include "servers/rvx/database_session.h"
#include "services/rvx.h"

namespace rvx {

class AccessControl : public com::Implements<IRvxAccessControl, ISupportErrorInfo> {
 public:
  AccessControl(std::shared_ptr<DatabaseSession> session, std::string project);

  HRESULT IsFunctionAllowed(BSTR functionName, std::int32_t* allowed) override;
  HRESULT InterfaceSupportsErrorInfo(REFIID iid) override;

 private:
  std::shared_ptr<DatabaseSession> session_;
  std::string project_;
};

}  // namespace rvx
