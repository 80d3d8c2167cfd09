#include "servers/rvx/server.h"

#include <memory>
#include <string>

#include "platform/com/utf.h"
#include "servers/rvx/database.h"
#include "servers/rvx/database_session.h"
#include "servers/rvx/guarded_call.h"
#include "servers/store/revision_store.h"

namespace rvx {

HRESULT Server::OpenDatabase(BSTR projectName, IRvxDatabase** database) {
  if (!database)
    return Fail(E_POINTER, kSourceServer, u"No place for the database", IRvxServer::IID_);
  *database = nullptr;
  std::u16string_view name(projectName ? projectName : u"", SysStringLen(projectName));
  if (name.empty())
    return Fail(E_INVALIDARG, kSourceServer, u"No project name given", IRvxServer::IID_);
  return GuardedCall(kSourceServer, IRvxServer::IID_, [&]() -> HRESULT {
    std::string utf8 = com::ToUtf8(name);
    std::string error;
    std::unique_ptr<store::RevisionStore> opened = store::OpenProjectStore(utf8, &error);
    if (!opened) {
      return FailUtf8(E_FAIL, kSourceServer,
                      "The database of project \"" + utf8 + "\" cannot be opened: " + error,
                      IRvxServer::IID_);
    }
    auto session = std::make_shared<DatabaseSession>(std::u16string(name), std::move(opened));
    RememberOpenSession(session);
    return Database::Create(std::move(session), database);
  });
}

HRESULT Server::FindDatabase(VARIANT projectName, IRvxDatabase** database) {
  if (!database)
    return Fail(E_POINTER, kSourceServer, u"No place for the database", IRvxServer::IID_);
  *database = nullptr;
  return GuardedCall(kSourceServer, IRvxServer::IID_, [&]() -> HRESULT {
    com::Variant name(projectName);
    if (FAILED(name.ChangeType(VT_BSTR))) {
      return Fail(DISP_E_TYPEMISMATCH, kSourceServer, u"The project name is not a text",
                  IRvxServer::IID_);
    }
    std::shared_ptr<DatabaseSession> session = FindOpenSession(std::u16string(name.TextView()));
    if (!session) return S_OK;  // not open in this process
    return Database::Create(std::move(session), database);
  });
}

HRESULT Server::InterfaceSupportsErrorInfo(REFIID iid) {
  return iid == IRvxServer::IID_ ? S_OK : S_FALSE;
}

}  // namespace rvx
