// External file attributes of the five host systems the engine converts between, and the
// DOS date and time of entries. Attributes go from one system to another through the MS-DOS
// encoding.
#pragma once

#include <cstdint>
#include <ctime>

namespace zip {

// MS-DOS attribute bits, the engine's host encoding.
inline constexpr std::uint32_t kDosReadOnly = 0x01;
inline constexpr std::uint32_t kDosHidden = 0x02;
inline constexpr std::uint32_t kDosDirectory = 0x10;
inline constexpr std::uint32_t kDosArchive = 0x20;

// Attributes in the host encoding with a Unix mode in the high word. kFileAttributes: what
// a new entry starts from (a regular file, rw-r--r--, archive bit). kDirectoryAttributes
// (a directory, rwxrwxrwx, directory bit): what an entry named like a folder reports when
// its stored attributes tell nothing (zero, or of a system without a converter, whose
// other entries report kFileAttributes).
inline constexpr std::uint32_t kFileAttributes = 0x81A40020;
inline constexpr std::uint32_t kDirectoryAttributes = 0x41FF0010;

bool IsSupportedSystem(int system);

// Converts attributes stored for system `from` into those of system `to`.
// Throws CZipException ZE_PLATFORM (no file name) when either system has no converter.
std::uint32_t ConvertAttributes(std::uint32_t attributes, int from, int to);

// DOS date and time of a calendar time, broken down as local time. Years up to 1980 give
// year field 0; a time that cannot be broken down gives 1 January 1980, 00:00.
void TimeToDos(std::time_t t, std::uint16_t& date, std::uint16_t& time);
// The calendar time of a DOS date and time, read as local time.
std::time_t DosToTime(std::uint16_t date, std::uint16_t time);

} // namespace zip
