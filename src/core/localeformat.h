#pragma once

#include "datetime.h"

#include <QLocale>
#include <QString>

#include <cstdint>

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
    QLocale m_locale;
    QString m_shortDate;
    QString m_longTime;
};

const LocaleFormat& activeLocaleFormat();
void setActiveLocaleFormat(const LocaleFormat& format);

}  // namespace quillon
