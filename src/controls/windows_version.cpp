#include "controls/windows_version.h"

namespace controls {

WindowsVersion WindowsVersionOf(std::uint32_t getVersion, bool haveRecord, unsigned major, unsigned minor)
{
    const bool family9x = (getVersion & 0x80000000u) != 0;
    if (family9x && (getVersion & 0xFF) < 4)
        return WindowsVersion::Win32s;
    if (!haveRecord)
        return family9x ? WindowsVersion::Win9x : WindowsVersion::OtherNt;
    if (family9x) {
        if (major == 4 && minor == 10)
            return WindowsVersion::Win98;
        if (major == 4 && minor == 90)
            return WindowsVersion::WinMe;
        return WindowsVersion::Win9x;
    }
    if (major == 4)
        return WindowsVersion::Nt4;
    if (major == 5 && minor == 0)
        return WindowsVersion::Win2000;
    if (major == 5 && minor == 1)
        return WindowsVersion::WinXp;
    return WindowsVersion::OtherNt;
}

} // namespace controls
