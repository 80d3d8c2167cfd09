#include "host/project_info.h"

#include "host/pxd_db_base.h"
#include "host/xd186.h"

namespace {

// Reads a variable into buffer; the empty text when it has no value. True when it had one.
bool ReadVariable(const char* name, char* buffer) {
  if (xd186_getenv(name, buffer) > 0) return true;
  buffer[0] = '\0';
  return false;
}

}  // namespace

bool GetProjectInfo(char* projectName, char* subProject, char* ftpHost, char* projectGroup,
                    int* rvx) {
  bool result = true;
  if (projectName && !ReadVariable("_#INT#_PROJECT", projectName)) result = false;
  if (subProject) ReadVariable("PW_SUBPROJ", subProject);
  if (ftpHost) ReadVariable("_#INT#_FTPHOST", ftpHost);
  if (projectGroup) ReadVariable("_#INT#_PROJECTGROUP", projectGroup);
  if (rvx) {
    char value[kEnvValueBufferSize];
    *rvx = xd186_getenv("_#INT#_RVXPROJECT", value) > 0 ? 1 : 0;
  }
  return result;
}

std::uint16_t GetRvxMode() {
  int rvx = 0;
  GetProjectInfo(nullptr, nullptr, nullptr, nullptr, &rvx);
  if (rvx == 0) return kRvxModeNone;
  int extended = 0;
  int known;
  {
    PxdDbBase probe;
    known = probe.GetRvxProductMode(&extended);
  }
  if (known == 0) return kRvxModeUnknown;
  if (extended == 0) return kRvxModeBasic;
  return kRvxModeExtended;
}
