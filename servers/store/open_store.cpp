#include "servers/store/project_list.h"
#include "servers/store/revision_store.h"
#include "servers/store/sqlite_store.h"

namespace store {

namespace {
constexpr std::string_view kSqlitePrefix = "sqlite:";
constexpr std::string_view kPostgresPrefix = "postgresql:";

void SetError(std::string* error, std::string text) {
  if (error) *error = std::move(text);
}
}  // namespace

std::unique_ptr<RevisionStore> OpenStore(std::string_view location, OpenMode mode,
                                         std::string* error) {
  try {
    if (location.starts_with(kPostgresPrefix)) {
      SetError(error, "this build has no PostgreSQL backend: " + std::string(location));
      return nullptr;
    }
    std::string path(location.starts_with(kSqlitePrefix) ? location.substr(kSqlitePrefix.size())
                                                         : location);
    if (path.empty()) {
      SetError(error, "empty store location");
      return nullptr;
    }
    if (mode == OpenMode::CreateIfMissing) {
      std::error_code ec;
      auto parent = std::filesystem::path(path).parent_path();
      if (!parent.empty()) std::filesystem::create_directories(parent, ec);
    }
    return std::make_unique<sqlite::SqliteStore>(path, mode);
  } catch (const std::exception& e) {
    SetError(error, e.what());
    return nullptr;
  }
}

std::unique_ptr<RevisionStore> OpenProjectStore(std::string_view project, std::string* error) {
  auto location = FindProjectLocation(project);
  if (!location) {
    SetError(error, "project \"" + std::string(project) + "\" is not in the project list " +
                        ProjectListPath().string());
    return nullptr;
  }
  return OpenStore(*location, OpenMode::OpenExisting, error);
}

}  // namespace store
