#pragma once
// The database of a project: its store connection and open transaction.
#include <memory>

#include "platform/com/error_info.h"
#include "platform/com/object.h"
#include "servers/rvx/database_session.h"
#include "services/rvx.h"

namespace rvx {

class Database : public com::Implements<IRvxDatabase, ISupportErrorInfo> {
 public:
  explicit Database(std::shared_ptr<DatabaseSession> session);

  // A new database object on the session, with a reference for the caller.
  static HRESULT Create(std::shared_ptr<DatabaseSession> session, IRvxDatabase** out);

  HRESULT Connect() override;
  HRESULT OpenProject(BSTR projectName, IRvxProject** project) override;
  HRESULT GetCurrentProject(IRvxProject** project) override;
  HRESULT SetConnectText(BSTR text) override;
  HRESULT Commit() override;
  HRESULT InterfaceSupportsErrorInfo(REFIID iid) override;

 private:
  std::shared_ptr<DatabaseSession> session_;
};

}  // namespace rvx
