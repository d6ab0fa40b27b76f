#pragma once

#include "datetime.h"

#include <QLocale>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace quillon {

class TextAdvances;

// The user's number, date and time formats, as the contents and search views show sizes and dates.
class LocaleFormat final {
public:
    // The locale's short date format and its long time format without any time-zone name.
    explicit LocaleFormat(const QLocale& locale = QLocale::system());
    // Explicit formats (QLocale format strings), for tests and for users who want their own.
    LocaleFormat(const QLocale& locale, const QString& shortDateFormat, const QString& longTimeFormat);

    // Up to 999 KB: "N KB" with thousands separators; more: KB / 1024 as "N.NNN MB".
    QString sizeText(std::int64_t kb) const;
    // Short date, a blank and the long time; the time is left out at exactly midnight.
    QString dateText(DateTime value) const;

    const QLocale& locale() const { return m_locale; }
    const QString& shortDateFormat() const { return m_shortDate; }
    const QString& longTimeFormat() const { return m_longTime; }

    // The advance sums of size and date texts (TextAdvances::sum over sizeText() and dateText()), mostly
    // without making the texts: the advances of the numbers, month names and literal text that the texts are
    // made of are summed once, so a size costs a table look-up or two and a date one per field kind. Both the
    // format and the advances must outlive it.
    class Advances;

private:
    // A date or time format made into its fields once. Formatting through QLocale reads the format string
    // again for every value, which costs more than the rest of showing a row; a format that uses names of
    // days, time zones, milliseconds or digits other than 0-9 is left to QLocale.
    struct Field {
        enum class Kind : std::uint8_t {
            Text, Day, Day2, Month, Month2, Year2, Year4, Hour, Hour2, Hour12, Hour12Two, Minute, Minute2,
            Second, Second2, AmPm, MonthName
        };
        Kind kind = Kind::Text;
        QString text;  // the literal text, or the AM text of an AM/PM field
        QString pm;
        std::vector<QString> names;  // the twelve month names, January first
    };
    using Fields = std::vector<Field>;
    static std::optional<Fields> compile(const QString& format, const QLocale& locale, bool date);
    static void append(QString& out, const Fields& fields, const DateTimeParts& parts);
    static void append(QString& out, const Field& field, const DateTimeParts& p);
    void appendDate(QString& out, const DateTimeParts& p) const;
    void appendTime(QString& out, const DateTimeParts& p) const;
    static bool showsTime(const DateTimeParts& p)
    {
        return p.hour != 0 || p.minute != 0 || p.second != 0 || p.msec != 0;
    }

    // What the fast path of sizeText() writes: "kb KB" below 1,000 KB, else "whole.thousandths MB".
    struct SizeFigures {
        enum class Kind : std::uint8_t { Kilobytes, Megabytes, Other } kind = Kind::Other;
        int whole = 0;
        int thousandths = 0;
    };
    SizeFigures sizeFigures(std::int64_t kb) const;

    QLocale m_locale;
    QString m_shortDate;
    QString m_longTime;
    bool m_plainDigits = false;
    QString m_decimalPoint;
    std::optional<Fields> m_dateFields;
    std::optional<Fields> m_timeFields;
};

class LocaleFormat::Advances final {
public:
    Advances(const LocaleFormat& format, TextAdvances& advances);
    Advances(const Advances&) = delete;
    Advances& operator=(const Advances&) = delete;

    double sizeText(std::int64_t kb);
    double dateText(DateTime value);

private:
    // Sums of 0 to 999 without leading zeros and with them to two and three digits, of the decimal point and
    // of the units; made on the first size or date.
    void sumNumbers();
    // Sums of the date and time fields' texts by the one value each field shows (day, month, year, hour, minute
    // or second); made on the first date.
    void sumDateFields();
    double fieldSum(const Field& field, const DateTimeParts& p);
    double dateSum(const DateTimeParts& p);

    const LocaleFormat& m_format;
    TextAdvances& m_advances;
    bool m_numbersSummed = false;
    bool m_datesSummed = false;
    std::array<double, 1000> m_number{};
    std::array<double, 1000> m_threeDigits{};
    std::array<double, 100> m_twoDigits{};
    double m_kbSuffix = 0;
    double m_mbSuffix = 0;
    double m_decimalPoint = 0;
    double m_blank = 0;
    // Date fields: literal text, then by day, month and the year's first and last two digits.
    double m_dateText = 0;
    std::array<double, 32> m_day{};
    std::array<double, 13> m_month{};
    std::array<double, 100> m_century{};
    std::array<double, 100> m_yearOfCentury{};
    // Sums of the dates without their times, kept for the last day count that fell in each slot: a slot a day
    // for some 45 years, as many as the files of an old archive span.
    struct DaySum {
        std::int64_t days = 0;
        double sum = -1;  // none yet
    };
    static constexpr std::size_t kDaySlots = 16384;
    std::vector<DaySum> m_daySums;
    // Time fields: literal text, then by hour (AM and PM included), minute and second.
    double m_timeText = 0;
    std::array<double, 24> m_hour{};
    std::array<double, 60> m_minute{};
    std::array<double, 60> m_second{};
};

const LocaleFormat& activeLocaleFormat();
void setActiveLocaleFormat(const LocaleFormat& format);

}  // namespace quillon
