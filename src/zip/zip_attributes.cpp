#include "zip/zip_attributes.h"

#include "zip/zip_exception.h"
#include "zip/zip_records.h"

namespace zip {

namespace {

// Unix mode bits as they stand in the high word of the external attributes.
constexpr std::uint32_t kUnixDirectory = 0x4000u << 16;
constexpr std::uint32_t kUnixRegularFile = 0x8000u << 16;
constexpr std::uint32_t kUnixOwnerRead = 0400u << 16;
constexpr std::uint32_t kUnixOwnerWrite = 0200u << 16;
constexpr std::uint32_t kUnixOwnerExecute = 0100u << 16;
constexpr std::uint32_t kUnixReadByAll = 0444u << 16;             // r--r--r--
constexpr std::uint32_t kUnixWriteByOwnerAndGroup = 0220u << 16;  // -w--w----

std::uint32_t UnixFromDos(std::uint32_t dos)
{
    std::uint32_t unixAttr = 0;
    if (!(dos & kDosHidden))
        unixAttr |= kUnixReadByAll;
    if (!(dos & kDosReadOnly))
        unixAttr |= kUnixWriteByOwnerAndGroup;
    unixAttr |= (dos & kDosDirectory) ? kUnixDirectory | kDosDirectory : kUnixRegularFile;
    return unixAttr;
}

std::uint32_t DosFromUnix(std::uint32_t unixAttr)
{
    std::uint32_t dos = 0;
    if (unixAttr & kUnixDirectory)
        dos |= kDosDirectory;
    if (!(unixAttr & kUnixOwnerExecute))
        dos |= kDosArchive;  // not executable by the owner
    if (!(unixAttr & kUnixOwnerWrite))
        dos |= kDosReadOnly;
    if (!(unixAttr & kUnixOwnerRead))
        dos |= kDosHidden;
    return dos;
}

std::uint32_t ToDos(std::uint32_t attributes, int system)
{
    switch (system) {
    case ZS_UNIX: return DosFromUnix(attributes);
    case ZS_MAC: return attributes & (kDosReadOnly | kDosDirectory);
    default: return attributes;
    }
}

std::uint32_t FromDos(std::uint32_t attributes, int system)
{
    switch (system) {
    case ZS_UNIX: return UnixFromDos(attributes);
    case ZS_MAC: return attributes & (kDosReadOnly | kDosDirectory);
    default: return attributes;
    }
}

} // namespace

bool IsSupportedSystem(int system)
{
    return system == ZS_DOS || system == ZS_UNIX || system == ZS_OS2 || system == ZS_MAC ||
           system == ZS_NTFS;
}

std::uint32_t ConvertAttributes(std::uint32_t attributes, int from, int to)
{
    if (!IsSupportedSystem(from) || !IsSupportedSystem(to))
        ThrowZipError(CZipException::ZE_PLATFORM);
    if (from == to)
        return attributes;
    return FromDos(ToDos(attributes, from), to);
}

void TimeToDos(std::time_t t, std::uint16_t& date, std::uint16_t& time)
{
    std::tm tm {};
#ifdef _WIN32
    const bool ok = localtime_s(&tm, &t) == 0;
#else
    const bool ok = localtime_r(&t, &tm) != nullptr;
#endif
    if (!ok) {
        date = 0x0021;
        time = 0;
        return;
    }
    const int year = tm.tm_year + 1900 <= 1980 ? 0 : tm.tm_year + 1900 - 1980;
    date = static_cast<std::uint16_t>((year << 9) | ((tm.tm_mon + 1) << 5) | tm.tm_mday);
    time = static_cast<std::uint16_t>((tm.tm_hour << 11) | (tm.tm_min << 5) | (tm.tm_sec / 2));
}

std::time_t DosToTime(std::uint16_t date, std::uint16_t time)
{
    std::tm tm {};
    tm.tm_sec = (time & 0x1F) * 2;
    tm.tm_min = (time >> 5) & 0x3F;
    tm.tm_hour = time >> 11;
    tm.tm_mday = date & 0x1F;
    tm.tm_mon = ((date >> 5) & 0x0F) - 1;
    tm.tm_year = (date >> 9) + 80;
    tm.tm_isdst = -1;
    return std::mktime(&tm);
}

} // namespace zip
