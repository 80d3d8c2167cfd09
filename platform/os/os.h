#pragma once
// What the component needs of the operating system: thread ids, local time, the system's
// message table, the foreground window and ending the process.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace os {

using WindowHandle = void*;

// Id of the calling thread, unique among the process's living threads.
std::uint32_t CurrentThreadId();

struct LocalTime {
  int year = 0;
  int month = 0;  // 1-12
  int day = 0;    // 1-31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};
LocalTime CurrentLocalTime();

// The system's message text for a status code in the given language. This platform has no
// message table, so there is never a text.
std::optional<std::string> SystemMessageText(std::int32_t code, std::uint32_t languageId);

// The window that has the user's foreground; none on this platform.
WindowHandle ForegroundWindow();

// Ends the process with the status, running every module's exit list and static clean-up on
// the way (but returning to no caller). Tests replace the ending with a hook of their own; when
// a hook is set, EndProcess calls it and returns.
void EndProcess(int status);
using EndProcessHook = std::function<void(int status)>;
// Returns the hook it replaces; an empty hook restores the real ending.
EndProcessHook SetEndProcessHookForTesting(EndProcessHook hook);

}  // namespace os
