// The version code table.
#include "controls/windows_version.h"

#include <gtest/gtest.h>

namespace controls {
namespace {

TEST(WindowsVersionCode, Table)
{
    constexpr std::uint32_t nt = 0, w9x = 0x80000000u;
    const struct {
        std::uint32_t getVersion;
        bool record;
        unsigned major, minor;
        int code;
    } cases[] = {
        {w9x | 3, true, 3, 95, 0},    // 9x below 4 (Win32s)
        {w9x | 4, true, 4, 0, 2},     // 95
        {w9x | 4, true, 4, 10, 3},    // 98
        {w9x | 4, true, 4, 90, 4},    // Me
        {w9x | 4, false, 0, 0, 2},    // 9x without a record
        {nt | 4, true, 4, 0, 5},      // NT 4
        {nt | 5, true, 5, 0, 6},      // 2000
        {nt | 5, true, 5, 1, 7},      // XP
        {nt | 5, true, 5, 2, 1},      // Server 2003
        {nt | 6, true, 6, 1, 1},      // 7
        {nt | 10, true, 10, 0, 1},    // 10 and 11
        {nt | 5, false, 0, 0, 1},     // NT without a record
        {nt | 3, true, 3, 51, 1},     // NT 3.51
    };
    for (const auto& c : cases)
        EXPECT_EQ(WindowsVersionCode(c.getVersion, c.record, c.major, c.minor), c.code)
            << c.major << "." << c.minor << (c.getVersion & w9x ? " 9x" : " NT");
}

} // namespace
} // namespace controls
