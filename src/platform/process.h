// The running program's process id, and whether a process of a given id still runs: the
// jar builder puts its id into the names of its temporary files, so that a later build can
// tell the leftovers of a killed build from the files of a build still running.
#pragma once

#include <cstdint>

std::uint32_t CurrentProcessId();
// True when a process of this id runs (or its state cannot be told, which counts as
// running, so nothing of it is touched).
bool IsProcessRunning(std::uint32_t id);
