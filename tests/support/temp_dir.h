#pragma once
// A fresh directory under the system's temporary folder, removed with everything in it.
#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace test_support {

class TempDir {
 public:
  // The directory is named after `prefix` with a unique ending. A test cannot go on without it,
  // so failing to make one ends the run.
  explicit TempDir(std::string_view prefix) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) {
      std::perror(pattern.c_str());
      std::abort();
    }
    path_ = pattern;
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // The store location of a database file in the directory.
  std::string Location(const std::string& file) const {
    return "sqlite:" + (path_ / file).string();
  }

 private:
  std::filesystem::path path_;
};

}  // namespace test_support
