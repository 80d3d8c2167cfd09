#include "servers/rvx/database_session.h"

#include <map>

namespace rvx {

DatabaseSession::DatabaseSession(std::u16string projectName,
                                 std::unique_ptr<store::RevisionStore> store)
    : projectName_(std::move(projectName)), store_(std::move(store)) {}

DatabaseSession::~DatabaseSession() {
  // Work that nobody committed is dropped; the store must not throw out of a destructor.
  try {
    if (store_ && store_->InTransaction()) store_->Rollback();
  } catch (...) {
  }
}

namespace {

struct OpenSessions {
  std::mutex mutex;
  std::map<std::u16string, std::weak_ptr<DatabaseSession>> byProject;
};

OpenSessions& Sessions() {
  static OpenSessions sessions;
  return sessions;
}

}  // namespace

void RememberOpenSession(const std::shared_ptr<DatabaseSession>& session) {
  OpenSessions& sessions = Sessions();
  std::lock_guard lock(sessions.mutex);
  std::erase_if(sessions.byProject, [](const auto& entry) { return entry.second.expired(); });
  sessions.byProject[session->ProjectName()] = session;
}

std::shared_ptr<DatabaseSession> FindOpenSession(const std::u16string& projectName) {
  OpenSessions& sessions = Sessions();
  std::lock_guard lock(sessions.mutex);
  auto it = sessions.byProject.find(projectName);
  if (it == sessions.byProject.end()) return nullptr;
  return it->second.lock();
}

}  // namespace rvx
