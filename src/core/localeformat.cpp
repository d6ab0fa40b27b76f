#include "localeformat.h"

namespace quillon {

namespace {

// Removes the time-zone field ("t", "tt", "ttt", "tttt") and the blank before it from a QLocale time format,
// leaving quoted literal text alone.
QString withoutTimeZone(const QString& format)
{
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == u'\'') {
            quoted = !quoted;
            out += c;
            continue;
        }
        if (!quoted && c == u't') {
            while (i + 1 < format.size() && format[i + 1] == u't') ++i;
            while (out.endsWith(u' ')) out.chop(1);
            continue;
        }
        out += c;
    }
    return out.trimmed();
}

LocaleFormat& activeSlot()
{
    static LocaleFormat format;
    return format;
}

}  // namespace

LocaleFormat::LocaleFormat(const QLocale& locale)
    : LocaleFormat(locale, locale.dateFormat(QLocale::ShortFormat),
                   withoutTimeZone(locale.timeFormat(QLocale::LongFormat)))
{
}

LocaleFormat::LocaleFormat(const QLocale& locale, const QString& shortDateFormat, const QString& longTimeFormat)
    : m_locale(locale), m_shortDate(shortDateFormat), m_longTime(longTimeFormat)
{
    m_locale.setNumberOptions(m_locale.numberOptions() & ~QLocale::OmitGroupSeparator);
}

QString LocaleFormat::sizeText(std::int64_t kb) const
{
    if (kb <= 999) return m_locale.toString(qlonglong(kb)) + QStringLiteral(" KB");
    return m_locale.toString(double(kb) / 1024.0, 'f', 3) + QStringLiteral(" MB");
}

QString LocaleFormat::dateText(DateTime value) const
{
    const DateTimeParts p = decodeDateTime(value);
    const QDate date(p.year, p.month, p.day);
    QString text = m_locale.toString(date, m_shortDate);
    if (p.hour != 0 || p.minute != 0 || p.second != 0 || p.msec != 0) {
        text += u' ';
        text += m_locale.toString(QTime(p.hour, p.minute, p.second, p.msec), m_longTime);
    }
    return text;
}

const LocaleFormat& activeLocaleFormat() { return activeSlot(); }

void setActiveLocaleFormat(const LocaleFormat& format) { activeSlot() = format; }

}  // namespace quillon
