#include "datetime.h"

#include <QDate>
#include <QTimeZone>

#include <cmath>
#include <cstdio>

namespace quillon {

namespace {

constexpr std::int64_t kMsecPerDay = 86'400'000;

qint64 dayZeroJulian()
{
    static const qint64 julian = QDate(1899, 12, 30).toJulianDay();
    return julian;
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

DateTimeParts decodeDateTime(DateTime value)
{
    DateTimeParts p;
    if (!std::isfinite(value)) value = 0;
    const double whole = std::trunc(value);
    auto msOfDay = std::int64_t(std::llround(std::fabs(value - whole) * kMsecPerDay));
    auto days = std::int64_t(whole);
    if (msOfDay >= kMsecPerDay) {
        msOfDay -= kMsecPerDay;
        days += value >= 0 ? 1 : -1;
    }
    // One calendar conversion for all three parts; year(), month() and day() would each make their own.
    QDate::fromJulianDay(dayZeroJulian() + days).getDate(&p.year, &p.month, &p.day);
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
