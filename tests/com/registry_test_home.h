#pragma once
// A product home of its own for a test: a fresh temporary folder in REVMGR_HOME, removed with
// everything in it at the end.
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace com_test {

class TemporaryHome {
 public:
  TemporaryHome() {
    std::string pattern = (std::filesystem::temp_directory_path() / "revmgr-home.XXXXXX").string();
    if (::mkdtemp(pattern.data())) path_ = pattern;
    if (const char* old = std::getenv("REVMGR_HOME")) previous_ = old;
    ::setenv("REVMGR_HOME", path_.c_str(), 1);
  }
  ~TemporaryHome() {
    if (previous_) {
      ::setenv("REVMGR_HOME", previous_->c_str(), 1);
    } else {
      ::unsetenv("REVMGR_HOME");
    }
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  TemporaryHome(const TemporaryHome&) = delete;
  TemporaryHome& operator=(const TemporaryHome&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
  std::optional<std::string> previous_;
};

}  // namespace com_test
