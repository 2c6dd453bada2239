#include "platform/process.h"

#include <windows.h>

std::uint32_t CurrentProcessId() { return GetCurrentProcessId(); }

bool IsProcessRunning(std::uint32_t id)
{
    if (id == 0)
        return false;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (!process)
        return GetLastError() != ERROR_INVALID_PARAMETER;  // no such process
    DWORD code = 0;
    const bool running = !GetExitCodeProcess(process, &code) || code == STILL_ACTIVE;
    CloseHandle(process);
    return running;
}
