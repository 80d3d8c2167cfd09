#pragma once
// The project list under the product home: project name -> store location
// ("sqlite:/path/to/file.rvxdb"; later "postgresql:<conninfo>").
// File format: one project per line, "<name>\t<location>"; written to a temporary file and
// renamed, under an exclusive lock on "<file>.lock" so that processes do not lose each other's
// entries.
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace store {

class ProjectList {
 public:
  // Reads the list; a missing file is an empty list. Throws StoreError on a read failure.
  static ProjectList Load(const std::filesystem::path& file);

  std::optional<std::string> Find(std::string_view name) const;
  // Throws StoreError(InvalidQuery) for a name or location holding a tab or line break, or
  // an empty name.
  void Set(const std::string& name, const std::string& location);
  bool Remove(std::string_view name);
  const std::map<std::string, std::string, std::less<>>& Entries() const { return entries_; }

  // Atomic write (temporary file + rename). Throws StoreError on failure.
  void Save(const std::filesystem::path& file) const;

 private:
  std::map<std::string, std::string, std::less<>> entries_;
};

// ProductHome() / "projects.list".
std::filesystem::path ProjectListPath();

// The store location of a project in the product home's list; nullopt when not listed or the
// list cannot be read.
std::optional<std::string> FindProjectLocation(std::string_view name);

// Adds or replaces a project's entry in the product home's list (locked read-modify-write).
// Throws StoreError on failure.
void RegisterProjectLocation(const std::string& name, const std::string& location);

// "sqlite:" + ProductHome()/projects/<name>.rvxdb.
std::string DefaultProjectLocation(std::string_view name);

}  // namespace store
