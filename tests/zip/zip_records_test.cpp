#include "zip/zip_attributes.h"
#include "zip/zip_entry_header.h"
#include "zip/zip_exception.h"
#include "zip/zip_extra_field.h"

#include <gtest/gtest.h>

namespace {

struct AttributeCase {
    std::uint32_t attributes;
    int from, to;
    std::uint32_t expected;
};

TEST(ZipAttributes, ConvertBetweenSystems)
{
    const AttributeCase table[] = {
        {0x00, 0, 3, 0x81B40000},        // plain writable file
        {0x01, 0, 3, 0x81240000},        // read-only
        {0x10, 0, 3, 0x41B40010},        // writable directory
        {0x02, 0, 3, 0x80900000},        // hidden: no read bits
        {0x81A40020, 0, 3, 0x81B40000},  // what every new entry starts from
        {0x81B40000, 3, 0, 0x20},        // rw- owner, not executable: archive bit
        {0x81C00000, 3, 0, 0x00},        // rwx owner
        {0x41ED0000, 3, 0, 0x10},        // directory rwxr-xr-x
        {0x01000000, 3, 0, 0x21},        // owner read only
        {0x00000000, 3, 0, 0x23},
        {0x81B40020, 0, 7, 0x00},        // Macintosh keeps only read-only and directory
        {0x00000031, 7, 0, 0x11},
        {0x81B40020, 0, 10, 0x81B40020}, // identity for NTFS and HPFS
        {0x81B40020, 6, 0, 0x81B40020},
        {0x81B40000, 3, 3, 0x81B40000},  // same system: untouched
    };
    for (const AttributeCase& c : table)
        EXPECT_EQ(zip::ConvertAttributes(c.attributes, c.from, c.to), c.expected)
            << std::hex << c.attributes << " from " << c.from << " to " << c.to;
}

TEST(ZipAttributes, SystemWithoutConverterIsPlatformErrorWithoutFileName)
{
    for (auto [from, to] : {std::pair {0, 5}, std::pair {11, 0}, std::pair {19, 19}}) {
        try {
            zip::ConvertAttributes(0x20, from, to);
            ADD_FAILURE() << from << " -> " << to << " converted";
        } catch (const CZipException& e) {
            EXPECT_EQ(e.GetCause(), CZipException::ZE_PLATFORM);
            EXPECT_EQ(e.GetPath(), "");
        }
    }
}

std::time_t Local(int year, int month, int day, int hour, int minute, int second)
{
    std::tm tm {};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    return std::mktime(&tm);
}

TEST(ZipDosTime, EncodesLocalTime)
{
    struct Case {
        std::time_t t;
        std::uint16_t date, time;
    } table[] = {
        {Local(1980, 1, 1, 0, 0, 0), 0x0021, 0x0000},
        {Local(1979, 6, 15, 10, 0, 0), (0 << 9) | (6 << 5) | 15, 10 << 11},
        {Local(2024, 5, 17, 13, 45, 31), (44 << 9) | (5 << 5) | 17, (13 << 11) | (45 << 5) | 15},
        {Local(2107, 12, 31, 23, 59, 59), (127 << 9) | (12 << 5) | 31, (23 << 11) | (59 << 5) | 29},
    };
    for (const Case& c : table) {
        std::uint16_t date = 0, time = 0;
        zip::TimeToDos(c.t, date, time);
        EXPECT_EQ(date, c.date);
        EXPECT_EQ(time, c.time);
    }
}

TEST(ZipDosTime, DecodesToLocalTimeWithEvenSeconds)
{
    std::uint16_t date = 0, time = 0;
    zip::TimeToDos(Local(2024, 5, 17, 13, 45, 31), date, time);
    EXPECT_EQ(zip::DosToTime(date, time), Local(2024, 5, 17, 13, 45, 30));
}

TEST(ZipExtraField, SplitsIntoWholeRecords)
{
    CZipExtraField field;
    ASSERT_TRUE(field.Read("\x55\x54\x00\x00", 4));  // one empty record
    ASSERT_EQ(field.GetCount(), 1u);
    EXPECT_EQ(field.GetAt(0).m_uHeaderID, 0x5455);
    EXPECT_EQ(field.GetTotalSize(), 4u);

    EXPECT_FALSE(field.Read("\x55\x54\x00\x00\x01\x02\x03", 7));   // 3 trailing bytes
    EXPECT_FALSE(field.Read("\x55\x54\x05\x00\x01\x02\x03", 7));   // data beyond the field
    ASSERT_TRUE(field.Read("", 0));
    EXPECT_TRUE(field.IsEmpty());

    const char two[] = "\x01\x00\x02\x00\xAA\xBB\xCA\xFE\x00\x00";
    ASSERT_TRUE(field.Read(two, 10));
    EXPECT_EQ(field.GetCount(), 2u);
    char out[10];
    EXPECT_EQ(field.Write(out), out + 10);
    EXPECT_EQ(std::string(out, 10), std::string(two, 10));
}

TEST(ZipEntryHeader, NameTurnsBackslashesIntoSlashes)
{
    CZipEntryHeader header;
    header.SetFileName("META-INF\\MANIFEST.MF");
    header.EncodeFileName();
    EXPECT_EQ(header.GetStoredName(), "META-INF/MANIFEST.MF");
    EXPECT_EQ(header.GetStoredName().size(), 20u);
    EXPECT_EQ(header.GetFileName(), "META-INF\\MANIFEST.MF");
}

TEST(ZipEntryHeader, AttributesOfUnknownSystemsAndDirectories)
{
    struct Case {
        int system;
        std::uint32_t external;
        const char* name;
        std::uint32_t reported;
        std::uint16_t versionNeeded;
    } table[] = {
        {19, 0x12345678, "a.txt", 0x81A40020, 20},
        {19, 0x12345678, "dir/", 0x41FF0010, 10},
        {0, 0, "dir\\", 0x41FF0010, 10},
        {0, 0, "plain", 0x00000000, 20},
        {0, 0x10, "d", 0x10, 10},
        {3, 0x41ED0000, "d", 0x10, 10},
        {3, 0x81B40000, "f", 0x20, 20},
    };
    for (const Case& c : table) {
        CZipEntryHeader header;
        header.SetSystemCompatibility(c.system);
        header.m_uExternalAttr = c.external;
        header.SetFileName(c.name);
        EXPECT_EQ(header.GetSystemAttr(), c.reported) << c.name << " on " << c.system;
        header.PrepareData(-1, false);
        EXPECT_EQ(header.m_uVersionNeeded, c.versionNeeded) << c.name;
    }
}

TEST(ZipEntryHeader, PrepareDataSetsVersionAndSpeedFlags)
{
    const std::pair<int, std::uint16_t> levels[] = {{-1, 0}, {0, 0}, {1, 6}, {2, 4}, {3, 0}, {7, 0}, {8, 2}, {9, 2}};
    for (auto [level, flags] : levels) {
        CZipEntryHeader header;
        header.SetSystemCompatibility(3);
        header.m_uCrc32 = 7;
        header.PrepareData(level, false);
        EXPECT_EQ(header.m_uFlag, flags) << "level " << level;
        EXPECT_EQ(header.m_uVersionMadeBy, 0x0314);
        EXPECT_EQ(header.m_uCrc32, 0u);
    }
    CZipEntryHeader stored;
    stored.m_uMethod = 0;
    stored.PrepareData(1, true);
    EXPECT_EQ(stored.m_uFlag, 0x0008) << "stored: no speed flag; segmented: descriptor";
}

} // namespace
