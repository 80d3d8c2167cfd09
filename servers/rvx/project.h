#pragma once
// A project of an open database: the way to its access control, and what a command runs
// against.
#include <memory>
#include <string>

#include "platform/com/error_info.h"
#include "platform/com/object.h"
#include "servers/rvx/database_session.h"
#include "services/rvx.h"

namespace rvx {

class Project : public com::Implements<IRvxProject, ISupportErrorInfo> {
 public:
  Project(std::shared_ptr<DatabaseSession> session, std::string name);

  // The named project of the session's store: S_OK with it, S_FALSE and null when the store
  // has no such project.
  static HRESULT Open(const std::shared_ptr<DatabaseSession>& session, std::u16string_view name,
                      IRvxProject** out);

  HRESULT GetAccessControl(IRvxAccessControl** accessControl) override;
  HRESULT InterfaceSupportsErrorInfo(REFIID iid) override;

  const std::shared_ptr<DatabaseSession>& Session() const { return session_; }
  const std::string& Name() const { return name_; }

 private:
  std::shared_ptr<DatabaseSession> session_;
  std::string name_;  // as the store knows it
};

}  // namespace rvx
