#include "localeformat.h"

#include "textadvances.h"

#include <utility>

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

// True when the format shows AM or PM, which makes "h" count hours 1 to 12. Quoted text does not count.
bool showsAmPm(const QString& format)
{
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'') quoted = !quoted;
        else if (!quoted && (c == u'a' || c == u'A')) return true;
    }
    return false;
}

void appendNumber(QString& out, int value, int width)
{
    char16_t digits[12];
    int count = 0;
    do {
        digits[count++] = char16_t(u'0' + value % 10);
        value /= 10;
    } while (value > 0 && count < 10);
    while (count < width) digits[count++] = u'0';
    while (count > 0) out += QChar(digits[--count]);
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
    m_plainDigits = m_locale.zeroDigit() == QStringLiteral("0");
    m_decimalPoint = m_locale.decimalPoint();
    m_dateFields = compile(m_shortDate, m_locale, true);
    m_timeFields = compile(m_longTime, m_locale, false);
}

std::optional<LocaleFormat::Fields> LocaleFormat::compile(const QString& format, const QLocale& locale, bool date)
{
    using Kind = Field::Kind;
    if (locale.zeroDigit() != QStringLiteral("0")) return std::nullopt;
    const bool twelveHours = !date && showsAmPm(format);
    Fields fields;
    QString literal;
    auto addField = [&](Kind kind, QString text = {}, QString pm = {}, std::vector<QString> names = {}) {
        if (!literal.isEmpty()) fields.push_back({Kind::Text, std::exchange(literal, {}), {}, {}});
        fields.push_back({kind, std::move(text), std::move(pm), std::move(names)});
    };
    const qsizetype size = format.size();
    qsizetype i = 0;
    while (i < size) {
        const char16_t c = format[i].unicode();
        if (c == u'\'') {
            // '' is a quote; other quoted text is copied as it stands, with '' inside it a quote too.
            if (i + 1 < size && format[i + 1] == u'\'') {
                literal += u'\'';
                i += 2;
                continue;
            }
            for (++i; i < size; ++i) {
                if (format[i] != u'\'') {
                    literal += format[i];
                } else if (i + 1 < size && format[i + 1] == u'\'') {
                    literal += u'\'';
                    ++i;
                } else {
                    ++i;
                    break;
                }
            }
            continue;
        }
        qsizetype repeat = 1;
        while (i + repeat < size && format[i + repeat] == format[i]) ++repeat;
        const bool one = repeat == 1;
        const bool oneOrTwo = repeat <= 2;
        if (date && c == u'd' && oneOrTwo) {
            addField(one ? Kind::Day : Kind::Day2);
        } else if (date && c == u'M' && oneOrTwo) {
            addField(one ? Kind::Month : Kind::Month2);
        } else if (date && c == u'M' && (repeat == 3 || repeat == 4)) {
            std::vector<QString> names;
            for (int month = 1; month <= 12; ++month)
                names.push_back(locale.monthName(month, repeat == 3 ? QLocale::ShortFormat : QLocale::LongFormat));
            addField(Kind::MonthName, {}, {}, std::move(names));
        } else if (date && c == u'y' && (repeat == 2 || repeat == 4)) {
            addField(repeat == 2 ? Kind::Year2 : Kind::Year4);
        } else if (!date && c == u'h' && oneOrTwo) {
            addField(twelveHours ? (one ? Kind::Hour12 : Kind::Hour12Two) : (one ? Kind::Hour : Kind::Hour2));
        } else if (!date && c == u'H' && oneOrTwo) {
            addField(one ? Kind::Hour : Kind::Hour2);
        } else if (!date && c == u'm' && oneOrTwo) {
            addField(one ? Kind::Minute : Kind::Minute2);
        } else if (!date && c == u's' && oneOrTwo) {
            addField(one ? Kind::Second : Kind::Second2);
        } else if (!date && (c == u'A' || c == u'a')) {
            // "A" or "AP" upper case, "a" or "ap" lower case; mixed cases are left to QLocale.
            const bool upper = c == u'A';
            repeat = 1;
            if (i + 1 < size && (format[i + 1] == u'P' || format[i + 1] == u'p')) {
                if ((format[i + 1] == u'P') != upper) return std::nullopt;
                repeat = 2;
            }
            addField(Kind::AmPm, upper ? locale.amText().toUpper() : locale.amText().toLower(),
                     upper ? locale.pmText().toUpper() : locale.pmText().toLower());
        } else if (QStringView(u"dMyhHmszaAtP").contains(QChar(c)) || c == u'p') {
            return std::nullopt;
        } else {
            literal += QStringView(format).mid(i, repeat);
        }
        i += repeat;
    }
    if (!literal.isEmpty()) fields.push_back({Kind::Text, literal, {}, {}});
    return fields;
}

void LocaleFormat::append(QString& out, const Fields& fields, const DateTimeParts& parts)
{
    for (const Field& field : fields) append(out, field, parts);
}

void LocaleFormat::append(QString& out, const Field& field, const DateTimeParts& p)
{
    using Kind = Field::Kind;
    const int hour12 = p.hour % 12 == 0 ? 12 : p.hour % 12;
    switch (field.kind) {
    case Kind::Text: out += field.text; break;
    case Kind::Day: appendNumber(out, p.day, 1); break;
    case Kind::Day2: appendNumber(out, p.day, 2); break;
    case Kind::Month: appendNumber(out, p.month, 1); break;
    case Kind::Month2: appendNumber(out, p.month, 2); break;
    case Kind::Year2: appendNumber(out, p.year % 100, 2); break;
    case Kind::Year4: appendNumber(out, p.year, 4); break;
    case Kind::Hour: appendNumber(out, p.hour, 1); break;
    case Kind::Hour2: appendNumber(out, p.hour, 2); break;
    case Kind::Hour12: appendNumber(out, hour12, 1); break;
    case Kind::Hour12Two: appendNumber(out, hour12, 2); break;
    case Kind::Minute: appendNumber(out, p.minute, 1); break;
    case Kind::Minute2: appendNumber(out, p.minute, 2); break;
    case Kind::Second: appendNumber(out, p.second, 1); break;
    case Kind::Second2: appendNumber(out, p.second, 2); break;
    case Kind::AmPm: out += p.hour < 12 ? field.text : field.pm; break;
    case Kind::MonthName: out += field.names[std::size_t(p.month - 1)]; break;
    }
}

LocaleFormat::SizeFigures LocaleFormat::sizeFigures(std::int64_t kb) const
{
    // Sizes below 1,000 MB need no thousands separator and are written from whole numbers: kb / 1024 is exact
    // in binary, so its thousandths round up above half and down below it. A value exactly halfway is left to
    // QLocale, and so is any locale whose digits are not 0-9.
    SizeFigures figures;
    if (!m_plainDigits || kb < 0) return figures;
    if (kb <= 999) {
        figures.kind = SizeFigures::Kind::Kilobytes;
        figures.whole = int(kb);
        return figures;
    }
    auto whole = kb / 1024;
    auto thousandths = (kb % 1024) * 125 / 128;
    const auto remainder = (kb % 1024) * 125 % 128;
    if (remainder > 64) ++thousandths;
    if (thousandths == 1000) {
        thousandths = 0;
        ++whole;
    }
    if (remainder != 64 && whole <= 999) {
        figures.kind = SizeFigures::Kind::Megabytes;
        figures.whole = int(whole);
        figures.thousandths = int(thousandths);
    }
    return figures;
}

QString LocaleFormat::sizeText(std::int64_t kb) const
{
    const SizeFigures figures = sizeFigures(kb);
    QString text;
    switch (figures.kind) {
    case SizeFigures::Kind::Kilobytes:
        appendNumber(text, figures.whole, 1);
        text += QStringLiteral(" KB");
        return text;
    case SizeFigures::Kind::Megabytes:
        appendNumber(text, figures.whole, 1);
        text += m_decimalPoint;
        appendNumber(text, figures.thousandths, 3);
        text += QStringLiteral(" MB");
        return text;
    case SizeFigures::Kind::Other:
        break;
    }
    if (kb <= 999) return m_locale.toString(qlonglong(kb)) + QStringLiteral(" KB");
    return m_locale.toString(double(kb) / 1024.0, 'f', 3) + QStringLiteral(" MB");
}

void LocaleFormat::appendDate(QString& out, const DateTimeParts& p) const
{
    // Four-digit years only: QLocale pads and signs other years in ways the fields do not copy.
    if (m_dateFields && p.year >= 1000 && p.year <= 9999)
        append(out, *m_dateFields, p);
    else
        out += m_locale.toString(QDate(p.year, p.month, p.day), m_shortDate);
}

void LocaleFormat::appendTime(QString& out, const DateTimeParts& p) const
{
    if (m_timeFields)
        append(out, *m_timeFields, p);
    else
        out += m_locale.toString(QTime(p.hour, p.minute, p.second, p.msec), m_longTime);
}

QString LocaleFormat::dateText(DateTime value) const
{
    const DateTimeParts p = decodeDateTime(value);
    QString text;
    text.reserve(24);
    appendDate(text, p);
    if (showsTime(p)) {
        text += u' ';
        appendTime(text, p);
    }
    return text;
}

LocaleFormat::Advances::Advances(const LocaleFormat& format, TextAdvances& advances)
    : m_format(format), m_advances(advances)
{
}

void LocaleFormat::Advances::sumNumbers()
{
    if (m_numbersSummed) return;
    m_numbersSummed = true;
    std::array<double, 10> digit{};
    for (int d = 0; d < 10; ++d) digit[std::size_t(d)] = m_advances.unit(char16_t(u'0' + d));
    for (std::size_t n = 0; n < 1000; ++n) {
        m_number[n] = n < 10 ? digit[n] : m_number[n / 10] + digit[n % 10];
        m_threeDigits[n] = digit[n / 100] + digit[n / 10 % 10] + digit[n % 10];
        if (n < 100) m_twoDigits[n] = digit[n / 10] + digit[n % 10];
    }
    m_kbSuffix = m_advances.sum(u" KB");
    m_mbSuffix = m_advances.sum(u" MB");
    m_decimalPoint = m_advances.sum(m_format.m_decimalPoint);
}

double LocaleFormat::Advances::fieldSum(const Field& field, const DateTimeParts& p)
{
    QString text;
    append(text, field, p);
    return m_advances.sum(text);
}

void LocaleFormat::Advances::sumDateFields()
{
    using Kind = Field::Kind;
    if (m_datesSummed) return;
    m_datesSummed = true;
    m_daySums.resize(kDaySlots);
    sumNumbers();
    m_blank = m_advances.unit(u' ');
    if (m_format.m_dateFields) {
        for (const Field& field : *m_format.m_dateFields) {
            DateTimeParts p;
            switch (field.kind) {
            case Kind::Day:
            case Kind::Day2:
                for (p.day = 1; p.day <= 31; ++p.day)
                    m_day[std::size_t(p.day)] += fieldSum(field, p);
                break;
            case Kind::Month:
            case Kind::Month2:
            case Kind::MonthName:
                for (p.month = 1; p.month <= 12; ++p.month)
                    m_month[std::size_t(p.month)] += fieldSum(field, p);
                break;
            case Kind::Year2:
                for (std::size_t n = 0; n < 100; ++n) m_yearOfCentury[n] += m_twoDigits[n];
                break;
            case Kind::Year4:
                // Years 1000 to 9999: the century and the year of the century, two digits each.
                for (std::size_t n = 0; n < 100; ++n) {
                    m_century[n] += m_twoDigits[n];
                    m_yearOfCentury[n] += m_twoDigits[n];
                }
                break;
            default:
                m_dateText += fieldSum(field, p);
                break;
            }
        }
    }
    if (m_format.m_timeFields) {
        for (const Field& field : *m_format.m_timeFields) {
            DateTimeParts p;
            switch (field.kind) {
            case Kind::Hour:
            case Kind::Hour2:
            case Kind::Hour12:
            case Kind::Hour12Two:
            case Kind::AmPm:
                for (p.hour = 0; p.hour < 24; ++p.hour)
                    m_hour[std::size_t(p.hour)] += fieldSum(field, p);
                break;
            case Kind::Minute:
            case Kind::Minute2:
                for (p.minute = 0; p.minute < 60; ++p.minute)
                    m_minute[std::size_t(p.minute)] += fieldSum(field, p);
                break;
            case Kind::Second:
            case Kind::Second2:
                for (p.second = 0; p.second < 60; ++p.second)
                    m_second[std::size_t(p.second)] += fieldSum(field, p);
                break;
            default:
                m_timeText += fieldSum(field, p);
                break;
            }
        }
    }
}

double LocaleFormat::Advances::sizeText(std::int64_t kb)
{
    sumNumbers();
    const SizeFigures figures = m_format.sizeFigures(kb);
    switch (figures.kind) {
    case SizeFigures::Kind::Kilobytes:
        return m_number[std::size_t(figures.whole)] + m_kbSuffix;
    case SizeFigures::Kind::Megabytes:
        return m_number[std::size_t(figures.whole)] + m_decimalPoint + m_threeDigits[std::size_t(figures.thousandths)] +
               m_mbSuffix;
    case SizeFigures::Kind::Other:
        break;
    }
    return m_advances.sum(m_format.sizeText(kb));
}

double LocaleFormat::Advances::dateSum(const DateTimeParts& p)
{
    if (m_format.m_dateFields && p.year >= 1000 && p.year <= 9999)
        return m_dateText + m_day[std::size_t(p.day)] + m_month[std::size_t(p.month)] +
               m_century[std::size_t(p.year / 100)] + m_yearOfCentury[std::size_t(p.year % 100)];
    QString date;
    m_format.appendDate(date, p);
    return m_advances.sum(date);
}

double LocaleFormat::Advances::dateText(DateTime value)
{
    sumDateFields();
    // The calendar date costs more than the rest of the sum; the files of a folder share few days.
    std::int64_t days = 0;
    std::int64_t msOfDay = 0;
    splitDateTime(value, days, msOfDay);
    DaySum& slot = m_daySums[std::size_t(days) % kDaySlots];
    if (slot.sum < 0 || slot.days != days) {
        slot.days = days;
        slot.sum = dateSum(decodeDateTime(value));
    }
    if (msOfDay == 0) return slot.sum;
    const double sum = slot.sum + m_blank;
    if (m_format.m_timeFields) {
        const auto ms = int(msOfDay);
        return sum + m_timeText + m_hour[std::size_t(ms / 3'600'000)] + m_minute[std::size_t(ms / 60'000 % 60)] +
               m_second[std::size_t(ms / 1000 % 60)];
    }
    QString time;
    m_format.appendTime(time, decodeDateTime(value));
    return sum + m_advances.sum(time);
}

const LocaleFormat& activeLocaleFormat() { return activeSlot(); }

void setActiveLocaleFormat(const LocaleFormat& format) { activeSlot() = format; }

}  // namespace quillon
