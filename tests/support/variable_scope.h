#pragma once
// Process variables set or unset for a scope; the old values (or their absence) come back at its
// end.
#include <stdlib.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

namespace test_support {

class VariableScope {
 public:
  VariableScope() = default;
  VariableScope(const VariableScope&) = delete;
  VariableScope& operator=(const VariableScope&) = delete;
  ~VariableScope() {
    for (const auto& [name, old] : saved_) {
      if (old) {
        ::setenv(name.c_str(), old->c_str(), 1);
      } else {
        ::unsetenv(name.c_str());
      }
    }
  }

  void Set(const std::string& name, const std::string& value) {
    Save(name);
    ::setenv(name.c_str(), value.c_str(), 1);
  }
  void Unset(const std::string& name) {
    Save(name);
    ::unsetenv(name.c_str());
  }

 private:
  // Only the value from before the first change counts.
  void Save(const std::string& name) {
    if (saved_.count(name)) return;
    const char* old = std::getenv(name.c_str());
    saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
  }

  std::map<std::string, std::optional<std::string>> saved_;
};

// One variable for a scope: set to value, or unset when value is null.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) {
    if (value) {
      scope_.Set(name, value);
    } else {
      scope_.Unset(name);
    }
  }

 private:
  VariableScope scope_;
};

}  // namespace test_support
