// The version table.
#include "controls/windows_version.h"

#include <gtest/gtest.h>

namespace controls {
namespace {

TEST(WindowsVersionOf, Table)
{
    constexpr std::uint32_t nt = 0, w9x = 0x80000000u;
    using V = WindowsVersion;
    const struct {
        std::uint32_t getVersion;
        bool record;
        unsigned major, minor;
        WindowsVersion version;
    } cases[] = {
        {w9x | 3, true, 3, 95, V::Win32s},   // 9x below 4
        {w9x | 4, true, 4, 0, V::Win9x},     // 95
        {w9x | 4, true, 4, 10, V::Win98},
        {w9x | 4, true, 4, 90, V::WinMe},
        {w9x | 4, false, 0, 0, V::Win9x},    // 9x without a record
        {nt | 4, true, 4, 0, V::Nt4},
        {nt | 5, true, 5, 0, V::Win2000},
        {nt | 5, true, 5, 1, V::WinXp},
        {nt | 5, true, 5, 2, V::OtherNt},    // Server 2003
        {nt | 6, true, 6, 1, V::OtherNt},    // 7
        {nt | 10, true, 10, 0, V::OtherNt},  // 10 and 11
        {nt | 5, false, 0, 0, V::OtherNt},   // NT without a record
        {nt | 3, true, 3, 51, V::OtherNt},   // NT 3.51
    };
    for (const auto& c : cases)
        EXPECT_EQ(WindowsVersionOf(c.getVersion, c.record, c.major, c.minor), c.version)
            << c.major << "." << c.minor << (c.getVersion & w9x ? " 9x" : " NT");
}

} // namespace
} // namespace controls
