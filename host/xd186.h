#pragma once
// Client of the environment service (module xd186): the calling thread's environment object and
// its variables.
#include "platform/com/unknown.h"
#include "services/env.h"

// Size of every caller's value buffer for xd186_getenv.
inline constexpr int kEnvValueBufferSize = 256;

// 1 when env now holds the calling thread's environment object (which may be empty when the
// found object lacks IEnvVariables), 0 when it does not (env is then empty). The module's first
// request creates the registry (and, if the thread has none, an environment object) and
// registers it for the thread; later requests only look up.
int xd186_getenvptr(com::ComPtr<IEnvVariables>& env);
// The calling thread's environment object with a reference of the caller's, or null.
com::ComPtr<IEnvVariables> xd186_env();
// Copies the value of variable name as 8-bit text into buffer (kEnvValueBufferSize bytes) and
// returns its length (> 0); 0 without an environment object (buffer untouched); -1 with the empty
// text in buffer when the variable has no value, the lookup failed, or the value does not fit the
// buffer (a cut value, e.g. a project name, would name something else).
int xd186_getenv(const char* name, char* buffer);
// Unregisters the unloading thread's environment object; run as an exit callback only.
void xd186_release();

// Test-only: forgets the registry (released without unregistering) so that the next request is
// the module's first again.
void ResetEnvClientForTesting();
