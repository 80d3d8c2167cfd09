#pragma once
// Functional access control (module BasAccessCtrl): may the current user run a function of the
// design environment in the current project? Answers are cached for the module's life.
#include <cstdint>
#include <map>

#include "platform/com/unknown.h"
#include "services/rvx.h"

using AccessCache = std::map<std::int32_t, bool>;

// True when the function with that code is granted. Not an RVX project: granted. The access
// control object cannot be had: refused, not cached. A code without a name: refused, cached. A
// failing server call: reported, granted, cached.
bool CheckFunctionAccess(std::int32_t code);
// The access control object of the current project (named by _#INT#_PROJECT) into holder.
bool OpenAccessControl(com::ComPtr<IRvxAccessControl>& holder);
// The access control object of the named project (8-bit text) into holder; errors leave it empty.
bool CreateAccessControl(const char* projectName, com::ComPtr<IRvxAccessControl>& holder);

// A copy of the module's answer cache.
AccessCache CachedAccessAnswers();
// Test-only: empties the answer cache so that test cases stay independent.
void ResetAccessCacheForTesting();
