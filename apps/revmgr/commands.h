#pragma once
// The commands of revmgr. Each returns the process's exit code: 0 done, 1 failed, 2 bad usage.
#include <string>
#include <vector>

namespace revmgr {

using Args = std::vector<std::string>;

struct Command {
  const char* name;
  const char* summary;
  const char* usage;  // the text of --help
  int (*run)(const Args& args);
};

int Register(const Args& args);
int Unregister(const Args& args);
int Init(const Args& args);
int Generate(const Args& args);
int GrantFunction(const Args& args);
int Count(const Args& args);
int Oldest(const Args& args);
int Rename(const Args& args);
int Delete(const Args& args);
int List(const Args& args);
int Purge(const Args& args);

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

}  // namespace revmgr
