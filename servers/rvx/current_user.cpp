#include "servers/rvx/current_user.h"

#include <pwd.h>
#include <unistd.h>

#include <vector>

namespace rvx {

std::string CurrentUserName() {
  uid_t uid = geteuid();
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

}  // namespace rvx
