#pragma once
// The project's settings from the calling thread's environment, and the data-management mode.
#include <cstdint>

// Data-management mode codes of GetRvxMode.
enum : std::uint16_t {
  kRvxModeNone = 0,
  kRvxModeBasic = 1,
  kRvxModeExtended = 2,
  kRvxModeUnknown = 0xFFFF,
};

// Reads the project name, sub-project, FTP host and project group into the given buffers (each
// kEnvValueBufferSize bytes, or null when not wanted) and whether the project is an RVX project
// into *rvx (or null). False only when the project name was asked for and is not set.
bool GetProjectInfo(char* projectName, char* subProject, char* ftpHost, char* projectGroup,
                    int* rvx);

// 0 not an RVX project, 1 basic, 2 extended, 0xFFFF unknown product mode.
std::uint16_t GetRvxMode();
