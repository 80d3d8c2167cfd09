#pragma once
// The module lock count: one for each living class-factory instance, each LockServer(TRUE) and
// while a client holds the class object. The module may be unloaded only at zero.
#include <cstdint>

namespace module {

void LockModule();
void UnlockModule();
std::int32_t ModuleLockCount();

}  // namespace module
