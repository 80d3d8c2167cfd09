#pragma once
// The registry of environment objects by thread id. One per process: every module that asks for
// it gets the same object, so that all of them find the same environment for a thread.
// Registrations are counted: each RegisterEnv needs its own UnregisterEnv.
#include <cstdint>
#include <map>
#include <mutex>
#include <vector>

#include "platform/com/error_info.h"
#include "platform/com/object.h"
#include "services/env.h"

namespace env {

class Registry : public com::Implements<IEnvRegistry, ISupportErrorInfo> {
 public:
  HRESULT RegisterEnv(std::uint32_t threadId, IEnvVariables* env) override;
  // S_FALSE when the thread has no registration left to drop.
  HRESULT UnregisterEnv(std::uint32_t threadId) override;
  // S_OK with the thread's newest registered object; S_FALSE and null when it has none.
  HRESULT FindEnv(std::uint32_t threadId, IUnknown** env) override;
  HRESULT InterfaceSupportsErrorInfo(REFIID iid) override;

 private:
  std::mutex mutex_;
  // Each registration, oldest first; the newest is the one found.
  std::map<std::uint32_t, std::vector<com::ComPtr<IEnvVariables>>> byThread_;
};

// The process's registry, made on first use.
HRESULT GetProcessRegistry(REFIID iid, void** out);

}  // namespace env
