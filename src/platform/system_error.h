// The operating system's own error state and texts, behind one interface.
// On Windows the "last platform error" is GetLastError(); natively it is the errno of the
// last failed call of the file layer, recorded by that layer (POSIX has no separate slot).
#pragma once

#include <string>

long GetLastPlatformError();
void SetLastPlatformError(long code);

// The system's text for an error code: FormatMessageA on Windows, strerror natively.
std::string PlatformErrorText(long code);
