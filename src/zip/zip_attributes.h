// External file attributes of the five host systems the engine converts between, and the
// DOS date and time of entries. Attributes go from one system to another through the MS-DOS
// encoding.
#pragma once

#include <cstdint>
#include <ctime>

namespace zip {

bool IsSupportedSystem(int system);

// Converts attributes stored for system `from` into those of system `to`.
// Throws CZipException 117 (no file name) when either system has no converter.
std::uint32_t ConvertAttributes(std::uint32_t attributes, int from, int to);

// DOS date and time of a calendar time, broken down as local time. Years up to 1980 give
// year field 0; a time that cannot be broken down gives 1 January 1980, 00:00.
void TimeToDos(std::time_t t, std::uint16_t& date, std::uint16_t& time);
// The calendar time of a DOS date and time, read as local time.
std::time_t DosToTime(std::uint16_t date, std::uint16_t time);

} // namespace zip
