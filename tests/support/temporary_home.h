#pragma once
// A product home of its own for a test: a fresh temporary folder in REVMGR_HOME, which gets its
// old value back and the folder removed at the end.
#include <filesystem>
#include <string_view>

#include "tests/support/temp_dir.h"
#include "tests/support/variable_scope.h"

namespace test_support {

class TemporaryHome {
 public:
  explicit TemporaryHome(std::string_view prefix = "revmgr-home") : dir_(prefix) {
    variable_.Set("REVMGR_HOME", dir_.Path().string());
  }

  const std::filesystem::path& Path() const { return dir_.Path(); }

 private:
  TempDir dir_;  // removed after REVMGR_HOME is restored
  VariableScope variable_;
};

}  // namespace test_support
