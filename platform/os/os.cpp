#include "platform/os/os.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <mutex>

namespace os {

namespace {
std::mutex g_hookMutex;
EndProcessHook g_endProcessHook;
}  // namespace

std::uint32_t CurrentThreadId() {
  return static_cast<std::uint32_t>(::syscall(SYS_gettid));
}

LocalTime CurrentLocalTime() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm fields{};
  localtime_r(&seconds, &fields);
  const auto millis =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  return LocalTime{fields.tm_year + 1900,   fields.tm_mon + 1, fields.tm_mday,
                   fields.tm_hour,          fields.tm_min,     fields.tm_sec,
                   static_cast<int>(millis)};
}

std::optional<std::string> SystemMessageText(std::int32_t /*code*/, std::uint32_t /*languageId*/) {
  return std::nullopt;
}

WindowHandle ForegroundWindow() {
  return nullptr;
}

void EndProcess(int status) {
  EndProcessHook hook;
  {
    std::lock_guard lock(g_hookMutex);
    hook = g_endProcessHook;
  }
  if (hook) {
    hook(status);
    return;
  }
  // A normal exit, not _Exit: ending the process unloads every module, so each module's exit
  // list and static clean-up must run, as they would when the module is unloaded.
  std::exit(status);
}

EndProcessHook SetEndProcessHookForTesting(EndProcessHook hook) {
  std::lock_guard lock(g_hookMutex);
  std::swap(g_endProcessHook, hook);
  return hook;
}

}  // namespace os
