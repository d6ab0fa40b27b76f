#include "localeformat.h"

#include <QDate>
#include <QLocale>
#include <QTime>
#include <gtest/gtest.h>

#include <vector>

namespace quillon {
namespace {

// The date text as QLocale writes it from the same formats.
QString byQLocale(const LocaleFormat& format, DateTime value)
{
    const DateTimeParts p = decodeDateTime(value);
    QString text = format.locale().toString(QDate(p.year, p.month, p.day), format.shortDateFormat());
    if (p.hour != 0 || p.minute != 0 || p.second != 0 || p.msec != 0)
        text += u' ' + format.locale().toString(QTime(p.hour, p.minute, p.second), format.longTimeFormat());
    return text;
}

std::vector<DateTime> sampleDates()
{
    std::vector<DateTime> dates;
    const int hours[] = {0, 1, 9, 11, 12, 13, 23};
    for (const int year : {1980, 2003, 2107}) {
        for (const int month : {1, 9, 12}) {
            for (const int day : {1, 7, 28}) {
                for (const int hour : hours) {
                    dates.push_back(encodeDateTime({year, month, day, hour, hour == 0 ? 0 : 5, hour == 0 ? 0 : 8}));
                    dates.push_back(encodeDateTime({year, month, day, hour, 59, 58}));
                }
            }
        }
    }
    return dates;
}

TEST(LocaleFormatFields, DateTextsMatchQLocaleInEveryLocale)
{
    const std::vector<DateTime> dates = sampleDates();
    const QList<QLocale> locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    ASSERT_FALSE(locales.isEmpty());
    for (const QLocale& locale : locales) {
        const LocaleFormat format(locale);
        for (const DateTime date : dates) {
            ASSERT_EQ(format.dateText(date), byQLocale(format, date))
                << locale.name().toStdString() << " " << format.shortDateFormat().toStdString() << " "
                << format.longTimeFormat().toStdString();
        }
    }
}

TEST(LocaleFormatFields, DateTextsMatchQLocaleForChosenFormats)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QString formats[][2] = {
        {QStringLiteral("M/d/yyyy"), QStringLiteral("h:mm:ss AP")},
        {QStringLiteral("dd.MM.yy"), QStringLiteral("HH:mm:ss")},
        {QStringLiteral("d 'de' MMMM yyyy"), QStringLiteral("h 'o''clock' ap")},
        {QStringLiteral("yyyy'-'MM''dd"), QStringLiteral("hh.mm.ss a")},
        {QStringLiteral("dddd d"), QStringLiteral("H:m:s zzz")},
        {QStringLiteral("'It''s' d/M"), QStringLiteral("h:mm A")},
        {QStringLiteral("d MMM yyyy"), QStringLiteral("HH:mm:ss")},
    };
    for (const auto& pair : formats) {
        const LocaleFormat format(english, pair[0], pair[1]);
        for (const DateTime date : sampleDates())
            ASSERT_EQ(format.dateText(date), byQLocale(format, date)) << pair[0].toStdString();
    }
    const LocaleFormat c(QLocale::c());
    for (const DateTime date : sampleDates()) ASSERT_EQ(c.dateText(date), byQLocale(c, date));
}

QString sizeByQLocale(const QLocale& locale, std::int64_t kb)
{
    QLocale grouped(locale);
    grouped.setNumberOptions(grouped.numberOptions() & ~QLocale::OmitGroupSeparator);
    if (kb <= 999) return grouped.toString(qlonglong(kb)) + QStringLiteral(" KB");
    return grouped.toString(double(kb) / 1024.0, 'f', 3) + QStringLiteral(" MB");
}

TEST(LocaleFormatFields, SizeTextsMatchQLocale)
{
    for (const QLocale& locale : {QLocale(QLocale::English, QLocale::UnitedStates),
                                  QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::Hindi, QLocale::India),
                                  QLocale(QLocale::Arabic, QLocale::Egypt)}) {
        const LocaleFormat format(locale);
        for (std::int64_t kb = 0; kb <= 300'000; ++kb)
            ASSERT_EQ(format.sizeText(kb), sizeByQLocale(locale, kb)) << kb << " " << locale.name().toStdString();
        for (std::int64_t kb = 1'022'000; kb <= 1'026'000; ++kb)
            ASSERT_EQ(format.sizeText(kb), sizeByQLocale(locale, kb)) << kb << " " << locale.name().toStdString();
        for (const std::int64_t kb : {std::int64_t(2'000'000'000), std::int64_t(2'147'483'647)})
            ASSERT_EQ(format.sizeText(kb), sizeByQLocale(locale, kb)) << kb << " " << locale.name().toStdString();
    }
}

TEST(LocaleFormatFields, SizeTextsMatchQLocaleInEveryLocale)
{
    const QList<QLocale> locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    for (const QLocale& locale : locales) {
        const LocaleFormat format(locale);
        for (std::int64_t kb = 0; kb <= 1'100'000; kb += 997)
            ASSERT_EQ(format.sizeText(kb), sizeByQLocale(locale, kb)) << kb << " " << locale.name().toStdString();
    }
}

TEST(LocaleFormatFields, DatesOutsideFourDigitYearsGoThroughQLocale)
{
    const LocaleFormat format(QLocale(QLocale::English, QLocale::UnitedStates), QStringLiteral("M/d/yyyy"),
                              QStringLiteral("h:mm:ss AP"));
    const DateTime early = encodeDateTime({999, 3, 4, 0, 0, 0});
    EXPECT_EQ(format.dateText(early), byQLocale(format, early));
}

}  // namespace
}  // namespace quillon
