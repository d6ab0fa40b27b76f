#pragma once

#include "datetime.h"

#include <QLocale>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace quillon {

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

    QLocale m_locale;
    QString m_shortDate;
    QString m_longTime;
    bool m_plainDigits = false;
    QString m_decimalPoint;
    std::optional<Fields> m_dateFields;
    std::optional<Fields> m_timeFields;
};

const LocaleFormat& activeLocaleFormat();
void setActiveLocaleFormat(const LocaleFormat& format);

}  // namespace quillon
