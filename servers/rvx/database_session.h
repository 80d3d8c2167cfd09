#pragma once
// One open connection to a project's store with its transaction. Database objects share a
// session (FindDatabase hands out the session that is already open); the last one to go rolls
// back what was not committed. Calls are serialised because a store connection serves one
// thread at a time.
#include <memory>
#include <mutex>
#include <string>

#include "servers/store/revision_store.h"

namespace rvx {

class DatabaseSession {
 public:
  DatabaseSession(std::u16string projectName, std::unique_ptr<store::RevisionStore> store);
  ~DatabaseSession();

  DatabaseSession(const DatabaseSession&) = delete;
  DatabaseSession& operator=(const DatabaseSession&) = delete;

  const std::u16string& ProjectName() const { return projectName_; }

  // Runs f(store) with the session to itself. Store errors propagate to the caller.
  template <class F>
  decltype(auto) Run(F&& f) {
    std::lock_guard lock(mutex_);
    return f(*store_);
  }

 private:
  std::u16string projectName_;
  std::mutex mutex_;
  std::unique_ptr<store::RevisionStore> store_;
};

// Sessions open in this process, by project name. Held weakly: a session closes when its last
// database object goes, whatever the table says.
void RememberOpenSession(const std::shared_ptr<DatabaseSession>& session);
std::shared_ptr<DatabaseSession> FindOpenSession(const std::u16string& projectName);

}  // namespace rvx
