#include "datetime.h"

#include <QDate>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

using namespace quillon;

namespace {

// The calendar date as QDate gives it, after rounding the time of day to the millisecond with the library's
// rounding.
DateTimeParts byQDate(DateTime value)
{
    constexpr std::int64_t msecPerDay = 86'400'000;
    const double whole = std::trunc(value);
    auto msOfDay = std::int64_t(std::llround(std::fabs(value - whole) * msecPerDay));
    auto days = std::int64_t(whole);
    if (msOfDay >= msecPerDay) {
        msOfDay -= msecPerDay;
        days += value >= 0 ? 1 : -1;
    }
    DateTimeParts p;
    QDate::fromJulianDay(QDate(1899, 12, 30).toJulianDay() + days).getDate(&p.year, &p.month, &p.day);
    p.hour = int(msOfDay / 3'600'000);
    p.minute = int(msOfDay / 60'000 % 60);
    p.second = int(msOfDay / 1000 % 60);
    p.msec = int(msOfDay % 1000);
    return p;
}

void expectAsQDate(DateTime value)
{
    const DateTimeParts a = decodeDateTime(value);
    const DateTimeParts b = byQDate(value);
    ASSERT_TRUE(a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
                a.minute == b.minute && a.second == b.second && a.msec == b.msec)
        << std::hexfloat << value << ": " << a.year << "-" << a.month << "-" << a.day << " " << a.hour << ":"
        << a.minute << ":" << a.second << "." << a.msec << " against " << b.year << "-" << b.month << "-" << b.day
        << " " << b.hour << ":" << b.minute << ":" << b.second << "." << b.msec;
}

TEST(DecodeDateTime, CalendarDatesAreQDatesFromYearOneOn)
{
    const std::int64_t first = QDate(1, 1, 1).toJulianDay() - QDate(1899, 12, 30).toJulianDay();
    const std::int64_t last = QDate(10'000, 12, 31).toJulianDay() - QDate(1899, 12, 30).toJulianDay();
    for (std::int64_t day = first - 800; day <= last + 800; ++day) {
        expectAsQDate(double(day));
        expectAsQDate(double(day) + 0.75);
    }
    for (const double far : {-1e8, -1e9, -3e9, 1e8, 1e9 - 1, 1e9, 3e9, 1e12})
        expectAsQDate(far + (far < 0 ? -0.25 : 0.25));
}

TEST(DecodeDateTime, TimesRoundToTheMillisecondAsLlround)
{
    std::mt19937_64 random(7);
    std::uniform_int_distribution<std::int64_t> days(-100'000, 100'000);
    std::uniform_int_distribution<std::int64_t> msec(0, 86'400'000);
    for (int i = 0; i < 300'000; ++i) {
        const double day = double(days(random));
        const double ms = double(msec(random));
        // Whole, half and almost half milliseconds, on both sides and at the end of a day.
        for (const double offset : {0.0, 0.5, -0.5, 0.4999999, 0.5000001, 1e-9})
            expectAsQDate(day >= 0 ? day + (ms + offset) / 86'400'000.0 : day - (ms + offset) / 86'400'000.0);
        const double next = std::nextafter(day + (ms + 0.5) / 86'400'000.0, 0.0);
        expectAsQDate(next);
        expectAsQDate(std::nextafter(next, 0.0));
    }
    // Just below half a millisecond past a power of two, where adding the half rounds up to the next whole
    // millisecond; such fractions are fine enough only within the first day on either side of day zero.
    for (int power = 0; power <= 26; ++power) {
        double value = (std::ldexp(1.0, power) - 0.5) / 86'400'000.0;
        for (int step = 0; step < 8; ++step, value = std::nextafter(value, 0.0)) {
            expectAsQDate(value);
            expectAsQDate(-value);
        }
    }
    expectAsQDate(std::nextafter(1.0, 0.0));
    expectAsQDate(std::nextafter(-1.0, 0.0));
    expectAsQDate(0.0);
    expectAsQDate(-0.0);
}

}  // namespace
