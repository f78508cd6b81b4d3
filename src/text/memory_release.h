#pragma once
// Releasing every fetched page text and cut value at once (the memory-release
// button and the exit path). The main window registers what to empty; cdata()
// empties it and hands the freed memory back to the system.
#include <functional>

namespace lumorra {

using ReleaseHook = std::function<void()>;

// Registers `hook`; returns an id for removeReleaseHook. Hooks run in the
// order they were added.
int addReleaseHook(ReleaseHook hook);
void removeReleaseHook(int id);

// Runs every registered hook (a hook may add or remove hooks; those changes
// apply from the next call), then returns free heap memory to the system.
void cdata();

} // namespace lumorra
