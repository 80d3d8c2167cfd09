#include "apps/revmgr/command_line.h"

#include <charconv>

namespace revmgr {

CommandLine::CommandLine(const std::vector<std::string>& args,
                         const std::set<std::string>& valueOptions,
                         const std::set<std::string>& flags) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
      positional_.push_back(arg);
      continue;
    }
    std::string name = arg.substr(2);
    std::optional<std::string> inlineValue;
    if (const auto eq = name.find('='); eq != std::string::npos) {
      inlineValue = name.substr(eq + 1);
      name.resize(eq);
    }
    if (valueOptions.count(name)) {
      if (!inlineValue) {
        if (i + 1 >= args.size()) throw UsageError("--" + name + " needs a value");
        inlineValue = args[++i];
      }
      values_[name] = *inlineValue;
    } else if (flags.count(name) && !inlineValue) {
      flags_.insert(name);
    } else {
      throw UsageError("unknown option --" + name);
    }
  }
}

std::optional<std::string> CommandLine::Value(const std::string& name) const {
  auto it = values_.find(name);
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

const std::string& CommandLine::Require(std::size_t index, const char* what) const {
  if (index >= positional_.size()) throw UsageError(std::string("missing ") + what);
  return positional_[index];
}

std::optional<long long> CommandLine::Number(const std::string& name, long long minimum,
                                             long long maximum) const {
  auto text = Value(name);
  if (!text) return std::nullopt;
  long long value = 0;
  const auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), value);
  if (ec != std::errc() || end != text->data() + text->size() || value < minimum ||
      value > maximum) {
    throw UsageError("--" + name + " must be a whole number from " + std::to_string(minimum) +
                     " to " + std::to_string(maximum));
  }
  return value;
}

}  // namespace revmgr
