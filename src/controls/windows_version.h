// The Windows version the menu's drawing depends on: 3-D frames from Win9x on, in the
// order below; the themed look only on XP.
#pragma once

#include <cstdint>

namespace controls {

// In this order: the drawing compares versions with >=.
enum class WindowsVersion : unsigned char {
    Win32s = 0,   // 9x below 4
    OtherNt = 1,  // NT versions not named below (3.x, 2003, Vista and later)
    Win9x = 2,    // other 9x from 4 (95)
    Win98 = 3,    // 9x 4.10
    WinMe = 4,    // 9x 4.90
    Nt4 = 5,      // NT 4.x
    Win2000 = 6,  // NT 5.0
    WinXp = 7,    // NT 5.1
};

// getVersion: GetVersion's result (high bit: the 9x family; low byte: major version).
// haveRecord: whether GetVersionEx's record could be had; major and minor come from it.
// Without the record a system is Win9x or OtherNt by its family.
WindowsVersion WindowsVersionOf(std::uint32_t getVersion, bool haveRecord, unsigned major, unsigned minor);

} // namespace controls
