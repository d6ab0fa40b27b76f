#pragma once

#include <QDateTime>

#include <cstdint>
#include <string>

namespace quillon {

// Date-times in memory are day counts: days since 1899-12-30, the fraction being the time of day, local time.
// Catalog files hold 32-bit DOS date-times in local time (2-second resolution, years 1980 to 2107).
using DateTime = double;

struct DateTimeParts {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, msec = 0;
};

DateTime encodeDateTime(const DateTimeParts& parts);
// Splits a day count; times are rounded to the millisecond first, so 2-second steps come back exact.
DateTimeParts decodeDateTime(DateTime value);
// The first step of decodeDateTime: the whole days (day 0 is 1899-12-30) and the milliseconds of the time of day.
void splitDateTime(DateTime value, std::int64_t& days, std::int64_t& msOfDay);

bool isValidDosDateTime(std::uint32_t dos);
// Only for valid DOS date-times.
DateTime dosToDateTime(std::uint32_t dos);
// A date-time outside 1980-01-01 00:00:00 .. 2107-12-31 23:59:58 is clamped to the nearest end, so that
// every written date reads back as a valid one. Odd seconds are rounded down.
std::uint32_t dateTimeToDos(DateTime value);

DateTime fromQDateTime(const QDateTime& value);
QDateTime toQDateTime(DateTime value);
// The local date and time now.
DateTime currentDateTime();

// Seconds since 1970 (a file's modification time) to a local day count.
DateTime fromUnixTime(std::int64_t seconds, std::int64_t nanoseconds = 0);

// "YYYY-MM-DDTHH:MM:SS", for machine-readable output.
std::string isoText(DateTime value);

}  // namespace quillon
