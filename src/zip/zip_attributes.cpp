#include "zip/zip_attributes.h"

#include "zip/zip_exception.h"
#include "zip/zip_records.h"

namespace zip {

namespace {

constexpr std::uint32_t kDosReadOnly = 0x01;
constexpr std::uint32_t kDosHidden = 0x02;
constexpr std::uint32_t kDosDirectory = 0x10;
constexpr std::uint32_t kDosArchive = 0x20;

std::uint32_t UnixFromDos(std::uint32_t dos)
{
    std::uint32_t unixAttr = 0;
    if (!(dos & kDosHidden))
        unixAttr |= 0x01240000;  // r--r--r--
    if (!(dos & kDosReadOnly))
        unixAttr |= 0x00900000;  // -w--w----
    unixAttr |= (dos & kDosDirectory) ? 0x40000010 : 0x80000000;
    return unixAttr;
}

std::uint32_t DosFromUnix(std::uint32_t unixAttr)
{
    std::uint32_t dos = 0;
    if (unixAttr & (1u << 30))
        dos |= kDosDirectory;
    if (!(unixAttr & (1u << 22)))
        dos |= kDosArchive;  // not executable by the owner
    if (!(unixAttr & (1u << 23)))
        dos |= kDosReadOnly;
    if (!(unixAttr & (1u << 24)))
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
