#pragma once
// The command line of one revmgr command: positional words and --options.
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace revmgr {

// A mistake in the command line; reported with the command's usage, exit code 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class CommandLine {
 public:
  // valueOptions take a value (--name VALUE or --name=VALUE); flags do not.
  CommandLine(const std::vector<std::string>& args, const std::set<std::string>& valueOptions,
              const std::set<std::string>& flags);

  const std::vector<std::string>& Positional() const { return positional_; }
  std::optional<std::string> Value(const std::string& name) const;
  bool Flag(const std::string& name) const { return flags_.count(name) > 0; }
  // The positional word at index, or a UsageError naming what is missing.
  const std::string& Require(std::size_t index, const char* what) const;
  // A whole number option within [minimum, maximum].
  std::optional<long long> Number(const std::string& name, long long minimum,
                                  long long maximum) const;

 private:
  std::vector<std::string> positional_;
  std::map<std::string, std::string> values_;
  std::set<std::string> flags_;
};

}  // namespace revmgr
