#include "platform/process.h"

#include <cerrno>
#include <csignal>
#include <unistd.h>

std::uint32_t CurrentProcessId() { return static_cast<std::uint32_t>(::getpid()); }

bool IsProcessRunning(std::uint32_t id)
{
    if (id == 0 || id > 0x7FFFFFFFu)
        return false;
    // Signal 0 only asks: EPERM means the process exists but belongs to someone else.
    return ::kill(static_cast<pid_t>(id), 0) == 0 || errno != ESRCH;
}
