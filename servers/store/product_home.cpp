#include "servers/store/product_home.h"

#include <cstdlib>

namespace store {

namespace {
const char* NonEmptyEnv(const char* name) {
  const char* value = std::getenv(name);
  return value && *value ? value : nullptr;
}
}  // namespace

std::filesystem::path ProductHome() {
  if (const char* home = NonEmptyEnv("REVMGR_HOME")) return home;
  if (const char* data = NonEmptyEnv("XDG_DATA_HOME"))
    return std::filesystem::path(data) / "revmgr";
  if (const char* home = NonEmptyEnv("HOME")) {
    return std::filesystem::path(home) / ".local" / "share" / "revmgr";
  }
  return std::filesystem::path(".local") / "share" / "revmgr";
}

}  // namespace store
