#include "controls/windows_version.h"

namespace controls {

int WindowsVersionCode(std::uint32_t getVersion, bool haveRecord, unsigned major, unsigned minor)
{
    const bool family9x = (getVersion & 0x80000000u) != 0;
    if (family9x && (getVersion & 0xFF) < 4)
        return 0;
    if (!haveRecord)
        return family9x ? 2 : 1;
    if (family9x) {
        if (major == 4 && minor == 10)
            return 3;
        if (major == 4 && minor == 90)
            return 4;
        return 2;
    }
    if (major == 4)
        return 5;
    if (major == 5 && minor == 0)
        return 6;
    if (major == 5 && minor == 1)
        return 7;
    return 1;
}

} // namespace controls
