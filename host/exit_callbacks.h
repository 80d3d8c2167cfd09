#pragma once
// The module's exit callbacks: run once at unload, newest first.

using ExitCallback = void (*)();

// Adds callback unless it is already listed. The first registration into an empty list hands
// RunExitCallbacks to the module's exit processing, so it runs before the static clean-up of
// everything set up earlier.
void RegisterExitCallback(ExitCallback callback);
// Takes each callback off the list (newest first) and calls it, until the list is empty.
void RunExitCallbacks();
