#pragma once
// A fresh directory under the system's temporary folder, removed with everything in it.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

class TempDir {
 public:
  TempDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "revmgr-vnquery-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    path_ = pattern;
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::string Location(const std::string& file) const {
    return "sqlite:" + (path_ / file).string();
  }

 private:
  std::filesystem::path path_;
};
