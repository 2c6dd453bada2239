// The Windows version code the menu's drawing depends on (3-D frames from code 2 on,
// the themed look only at code 7).
#pragma once

#include <cstdint>

namespace controls {

// getVersion: GetVersion's result (high bit: the 9x family; low byte: major version).
// haveRecord: whether GetVersionEx's record could be had; major and minor come from it.
//   0  9x below 4          3  9x 4.10 (98)        6  NT 5.0 (2000)
//   1  other NT versions   4  9x 4.90 (Me)        7  NT 5.1 (XP)
//   2  other 9x from 4     5  NT 4.x
int WindowsVersionCode(std::uint32_t getVersion, bool haveRecord, unsigned major, unsigned minor);

} // namespace controls
