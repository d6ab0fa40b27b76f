#include "localeformat.h"

#include "fakeadvances.h"
#include "textadvances.h"

#include <QDate>
#include <QLocale>
#include <QTime>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <vector>

namespace quillon {
namespace {

using test::fakeAdvance;
using test::fakeSum;

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

// Short date and long time formats of every kind the fields take apart: names, literals with quotes, two-digit
// years, AM/PM in both cases, and parts the fields leave to QLocale.
std::vector<std::array<QString, 2>> chosenFormats()
{
    return {
        {QStringLiteral("M/d/yyyy"), QStringLiteral("h:mm:ss AP")},
        {QStringLiteral("dd.MM.yy"), QStringLiteral("HH:mm:ss")},
        {QStringLiteral("d 'de' MMMM yyyy"), QStringLiteral("h 'o''clock' ap")},
        {QStringLiteral("yyyy'-'MM''dd"), QStringLiteral("hh.mm.ss a")},
        {QStringLiteral("dddd d"), QStringLiteral("H:m:s zzz")},
        {QStringLiteral("'It''s' d/M"), QStringLiteral("h:mm A")},
        {QStringLiteral("d MMM yyyy"), QStringLiteral("HH:mm:ss")},
    };
}

TEST(LocaleFormatFields, DateTextsMatchQLocaleForChosenFormats)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    for (const auto& pair : chosenFormats()) {
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


// Sizes around every boundary of the size texts: the last KB text, the first MB texts, thousandths that round
// up into the next whole megabyte, values exactly halfway between two thousandths (left to QLocale), 1,000 MB
// and more, and values no file has.
std::vector<std::int64_t> sampleSizes()
{
    std::vector<std::int64_t> sizes;
    for (std::int64_t kb = 0; kb <= 5000; ++kb) sizes.push_back(kb);
    for (std::int64_t kb = 1'022'000; kb <= 1'026'000; ++kb) sizes.push_back(kb);
    for (std::int64_t kb = 5000; kb <= 3'000'000; kb += 1009) sizes.push_back(kb);
    for (std::int64_t kb = 1024; kb <= 600'000; kb += 1024) {
        sizes.push_back(kb - 1);
        sizes.push_back(kb + 1);
    }
    int halfway = 0;
    for (std::int64_t kb = 1000; halfway < 200; ++kb) {
        if ((kb % 1024) * 125 % 128 != 64) continue;
        sizes.push_back(kb);
        sizes.push_back(kb + 1023 * 1024);  // the same fraction at 1,000 MB and over
        ++halfway;
    }
    for (const std::int64_t kb : {std::int64_t(-1), std::int64_t(-999), std::int64_t(-1000), std::int64_t(-123'456),
                                  std::int64_t(2'147'483'647), std::int64_t(1) << 40,
                                  std::numeric_limits<std::int64_t>::min() / 2})
        sizes.push_back(kb);
    return sizes;
}

TEST(LocaleFormatAdvances, SizeSumsEqualTheSumsOverTheSizeTexts)
{
    const std::vector<std::int64_t> sizes = sampleSizes();
    for (const QLocale& locale : {QLocale(QLocale::English, QLocale::UnitedStates),
                                  QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::French, QLocale::France),
                                  QLocale(QLocale::Hindi, QLocale::India), QLocale(QLocale::Arabic, QLocale::Egypt),
                                  QLocale::c()}) {
        const LocaleFormat format(locale);
        TextAdvances advances(fakeAdvance);
        LocaleFormat::Advances sums(format, advances);
        for (const std::int64_t kb : sizes)
            ASSERT_EQ(sums.sizeText(kb), fakeSum(format.sizeText(kb))) << kb << " " << locale.name().toStdString();
    }
}

TEST(LocaleFormatAdvances, SizeSumsDifferWhereTheTextsDo)
{
    const LocaleFormat format(QLocale(QLocale::English, QLocale::UnitedStates));
    TextAdvances advances(fakeAdvance);
    LocaleFormat::Advances sums(format, advances);
    // "1,000 KB" is never written: 1000 KB is "0.977 MB".
    EXPECT_EQ(sums.sizeText(999), fakeSum(QStringLiteral("999 KB")));
    EXPECT_EQ(sums.sizeText(1000), fakeSum(QStringLiteral("0.977 MB")));
    EXPECT_EQ(sums.sizeText(1024), fakeSum(QStringLiteral("1.000 MB")));
    EXPECT_EQ(sums.sizeText(1024 * 1024), fakeSum(QStringLiteral("1,024.000 MB")));
    EXPECT_EQ(sums.sizeText(1024 * 1024 - 1), fakeSum(QStringLiteral("1,023.999 MB")));
    EXPECT_NE(sums.sizeText(1023), sums.sizeText(1024));
}

std::vector<DateTime> sampleDateTimes()
{
    std::vector<DateTime> dates = sampleDates();
    for (const int year : {1, 999, 1000, 1999, 2000, 2099, 9999, 10000}) {
        dates.push_back(encodeDateTime({year, 2, 28, 0, 0, 0}));
        dates.push_back(encodeDateTime({year, 10, 31, 12, 0, 0}));
        dates.push_back(encodeDateTime({year, 6, 15, 23, 59, 59}));
    }
    // Midnight, and a time that is midnight but for its milliseconds: the time shows, its msec do not.
    dates.push_back(encodeDateTime({2003, 5, 17, 0, 0, 0, 0}));
    dates.push_back(encodeDateTime({2003, 5, 17, 0, 0, 0, 500}));
    dates.push_back(encodeDateTime({2003, 5, 17, 0, 0, 1, 0}));
    dates.push_back(encodeDateTime({2003, 5, 17, 12, 0, 0, 0}));
    for (int day = 1; day <= 31; ++day) dates.push_back(encodeDateTime({2024, 1, day, day % 24, day, 59 - day}));
    for (int month = 1; month <= 12; ++month) dates.push_back(encodeDateTime({1985, month, 9, 7, 5, 3}));
    for (int minute = 0; minute < 60; ++minute)
        dates.push_back(encodeDateTime({2010, 4, 1, minute % 24, minute, minute}));
    return dates;
}

void expectDateSums(const LocaleFormat& format, const std::vector<DateTime>& dates)
{
    TextAdvances advances(fakeAdvance);
    LocaleFormat::Advances sums(format, advances);
    for (const DateTime date : dates) {
        ASSERT_EQ(sums.dateText(date), fakeSum(format.dateText(date)))
            << format.dateText(date).toStdString() << " " << format.locale().name().toStdString() << " "
            << format.shortDateFormat().toStdString() << " " << format.longTimeFormat().toStdString();
    }
}

TEST(LocaleFormatAdvances, DateSumsEqualTheSumsOverTheDateTextsInEveryLocale)
{
    const std::vector<DateTime> dates = sampleDateTimes();
    const QList<QLocale> locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    ASSERT_FALSE(locales.isEmpty());
    for (const QLocale& locale : locales) expectDateSums(LocaleFormat(locale), dates);
}

TEST(LocaleFormatAdvances, DateSumsEqualTheSumsOverTheDateTextsForChosenFormats)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    std::vector<std::array<QString, 2>> formats = chosenFormats();
    formats.push_back({QStringLiteral("yy yyyy d d MM"), QStringLiteral("s h m ss A hh a")});
    formats.push_back({QStringLiteral("dd MMMM yy"), QStringLiteral("hh:mm:ss t")});
    formats.push_back({QStringLiteral(u"d·M·yyyy"), QStringLiteral(u"HH∶mm")});
    for (const auto& pair : formats) expectDateSums(LocaleFormat(english, pair[0], pair[1]), sampleDateTimes());
    for (const QLocale& locale : {QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::Japanese, QLocale::Japan),
                                  QLocale(QLocale::Russian, QLocale::Russia), QLocale(QLocale::Arabic, QLocale::Egypt)}) {
        expectDateSums(LocaleFormat(locale, QStringLiteral("d MMMM yyyy"), QStringLiteral("h:mm:ss ap")),
                       sampleDateTimes());
        expectDateSums(LocaleFormat(locale), sampleDateTimes());
    }
}

TEST(LocaleFormatAdvances, DateSumsFollowTheTextsOutsideTheBasicPlane)
{
    const LocaleFormat format(QLocale(QLocale::English, QLocale::UnitedStates),
                              QStringLiteral(u"d/M/yyyy '𝄞'"), QStringLiteral("HH:mm"));
    TextAdvances advances(fakeAdvance);
    LocaleFormat::Advances sums(format, advances);
    EXPECT_EQ(sums.dateText(encodeDateTime({2003, 5, 17, 1, 2, 3})), std::numeric_limits<double>::infinity());
    const LocaleFormat plain(QLocale(QLocale::English, QLocale::UnitedStates), QStringLiteral("d/M/yyyy"),
                             QStringLiteral(u"HH:mm '𝄞'"));
    LocaleFormat::Advances plainSums(plain, advances);
    EXPECT_EQ(plainSums.dateText(encodeDateTime({2003, 5, 17, 0, 0, 0})),
              fakeSum(QStringLiteral("17/5/2003")));
    EXPECT_EQ(plainSums.dateText(encodeDateTime({2003, 5, 17, 1, 0, 0})), std::numeric_limits<double>::infinity());
}

}  // namespace
}  // namespace quillon
