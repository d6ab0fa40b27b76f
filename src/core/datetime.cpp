#include "datetime.h"

#include <QDate>
#include <QTimeZone>

#include <cmath>
#include <cstdio>

namespace quillon {

namespace {

constexpr std::int64_t kMsecPerDay = 86'400'000;
// Day 0 is 1899-12-30; 1970-01-01 is day 25,569.
constexpr std::int64_t kDayZeroTo1970 = 25'569;

qint64 dayZeroJulian()
{
    static const qint64 julian = QDate(1899, 12, 30).toJulianDay();
    return julian;
}

// The calendar date of a day count, one conversion for year, month and day. Years from 1 on by whole-number
// arithmetic on the proleptic Gregorian calendar (days since 1970 shifted to an era starting in March 0000),
// which QDate also keeps; earlier dates, where QDate has no year 0, through QDate.
void civilDate(std::int64_t days, DateTimeParts& p)
{
    const std::int64_t z = days - kDayZeroTo1970 + 719'468;
    const std::int64_t era = (z >= 0 ? z : z - 146'096) / 146'097;
    const std::int64_t dayOfEra = z - era * 146'097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36'524 - dayOfEra / 146'096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
    const int month = int(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    if (year < 1 || year > 1'000'000) {
        QDate::fromJulianDay(dayZeroJulian() + days).getDate(&p.year, &p.month, &p.day);
        return;
    }
    p.year = int(year);
    p.month = month;
    p.day = int(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
}

}  // namespace

DateTime encodeDateTime(const DateTimeParts& p)
{
    const QDate date(p.year, p.month, p.day);
    const double days = double(date.toJulianDay() - dayZeroJulian());
    const double time = (p.hour * 3'600'000.0 + p.minute * 60'000.0 + p.second * 1000.0 + p.msec) / kMsecPerDay;
    // Day counts before day zero keep the time as a positive fraction of a negative whole day.
    return days >= 0 ? days + time : days - time;
}

void splitDateTime(DateTime value, std::int64_t& days, std::int64_t& msOfDay)
{
    if (!std::isfinite(value)) value = 0;
    if (std::fabs(value) < 1e9) {
        // The conversions do what std::trunc and std::llround do, without a library call each: ms + 0.5 can
        // round up to the next whole number when ms lies just below a half, which the check takes back (the
        // whole number less a half is exact).
        days = std::int64_t(value);
        const double ms = std::fabs(value - double(days)) * kMsecPerDay;
        msOfDay = std::int64_t(ms + 0.5);
        if (double(msOfDay) - 0.5 > ms) --msOfDay;
    } else {
        const double whole = std::trunc(value);
        msOfDay = std::int64_t(std::llround(std::fabs(value - whole) * kMsecPerDay));
        days = std::int64_t(whole);
    }
    if (msOfDay >= kMsecPerDay) {
        msOfDay -= kMsecPerDay;
        days += value >= 0 ? 1 : -1;
    }
}

DateTimeParts decodeDateTime(DateTime value)
{
    DateTimeParts p;
    std::int64_t days = 0;
    std::int64_t msOfDay = 0;
    splitDateTime(value, days, msOfDay);
    civilDate(days, p);
    p.hour = int(msOfDay / 3'600'000);
    p.minute = int(msOfDay / 60'000 % 60);
    p.second = int(msOfDay / 1000 % 60);
    p.msec = int(msOfDay % 1000);
    return p;
}

bool isValidDosDateTime(std::uint32_t dos)
{
    const int year = 1980 + int(dos >> 25);
    const int month = int((dos >> 21) & 0x0F);
    const int day = int((dos >> 16) & 0x1F);
    const int hour = int((dos >> 11) & 0x1F);
    const int minute = int((dos >> 5) & 0x3F);
    const int second = int(dos & 0x1F) * 2;
    return QDate::isValid(year, month, day) && hour < 24 && minute < 60 && second < 60;
}

DateTime dosToDateTime(std::uint32_t dos)
{
    DateTimeParts p;
    p.year = 1980 + int(dos >> 25);
    p.month = int((dos >> 21) & 0x0F);
    p.day = int((dos >> 16) & 0x1F);
    p.hour = int((dos >> 11) & 0x1F);
    p.minute = int((dos >> 5) & 0x3F);
    p.second = int(dos & 0x1F) * 2;
    return encodeDateTime(p);
}

std::uint32_t dateTimeToDos(DateTime value)
{
    constexpr std::uint32_t kFirst = (0u << 25) | (1u << 21) | (1u << 16);
    constexpr std::uint32_t kLast = (127u << 25) | (12u << 21) | (31u << 16) | (23u << 11) | (59u << 5) | 29u;
    if (!std::isfinite(value)) return kFirst;
    const DateTimeParts p = decodeDateTime(value);
    if (p.year < 1980) return kFirst;
    if (p.year > 2107) return kLast;
    return (std::uint32_t(p.year - 1980) << 25) | (std::uint32_t(p.month) << 21) | (std::uint32_t(p.day) << 16) |
           (std::uint32_t(p.hour) << 11) | (std::uint32_t(p.minute) << 5) | std::uint32_t(p.second / 2);
}

DateTime fromQDateTime(const QDateTime& value)
{
    const QDateTime local = value.toLocalTime();
    const QDate d = local.date();
    const QTime t = local.time();
    return encodeDateTime({d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), t.msec()});
}

QDateTime toQDateTime(DateTime value)
{
    const DateTimeParts p = decodeDateTime(value);
    return QDateTime(QDate(p.year, p.month, p.day), QTime(p.hour, p.minute, p.second, p.msec));
}

DateTime currentDateTime() { return fromQDateTime(QDateTime::currentDateTime()); }

DateTime fromUnixTime(std::int64_t seconds, std::int64_t nanoseconds)
{
    return fromQDateTime(QDateTime::fromMSecsSinceEpoch(seconds * 1000 + nanoseconds / 1'000'000));
}

std::string isoText(DateTime value)
{
    const DateTimeParts p = decodeDateTime(value);
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d", p.year, p.month, p.day, p.hour, p.minute,
                  p.second);
    return buf;
}

}  // namespace quillon
