#include "servers/rvx/current_user.h"

#include <pwd.h>
#include <unistd.h>

#include <mutex>
#include <optional>
#include <vector>

namespace rvx {

namespace {

std::string LookUpUserName(uid_t uid) {
  long suggested = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
      found->pw_name) {
    return found->pw_name;
  }
  // A process owner without a password entry (some containers) is known by its number.
  return std::to_string(uid);
}

}  // namespace

std::string CurrentUserName() {
  // Every command asks; the password database is read once per process owner, not per call.
  static std::mutex mutex;
  static std::optional<uid_t> knownUid;
  static std::string knownName;
  const uid_t uid = geteuid();
  std::lock_guard lock(mutex);
  if (knownUid != uid) {
    knownName = LookUpUserName(uid);
    knownUid = uid;
  }
  return knownName;
}

}  // namespace rvx
