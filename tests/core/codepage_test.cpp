#include "codepage.h"
#include "datetime.h"
#include "localeformat.h"

#include <gtest/gtest.h>

#include <memory>

using namespace quillon;

namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);

TEST(Utf8CodePage, CharacterLengthsNeverRunPastTheText)
{
    const Utf8CodePage cp(kEnglish);
    const std::string s = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8E\xB5";  // a é € 🎵
    EXPECT_EQ(cp.charLength(s, 0), 1u);
    EXPECT_EQ(cp.charLength(s, 1), 2u);
    EXPECT_EQ(cp.charLength(s, 3), 3u);
    EXPECT_EQ(cp.charLength(s, 6), 4u);
    // A sequence cut short by the end of the text, a stray continuation byte, overlong forms and surrogates
    // are single bytes.
    EXPECT_EQ(cp.charLength(std::string_view("\xE2\x82"), 0), 1u);
    EXPECT_EQ(cp.charLength(std::string_view("\x82"), 0), 1u);
    EXPECT_EQ(cp.charLength(std::string_view("\xC0\x80"), 0), 1u);
    EXPECT_EQ(cp.charLength(std::string_view("\xE0\x80\x80"), 0), 1u);
    EXPECT_EQ(cp.charLength(std::string_view("\xED\xA0\x80"), 0), 1u);
    EXPECT_EQ(cp.charLength(std::string_view("\xF4\x90\x80\x80"), 0), 1u);
}

TEST(Utf8CodePage, UpperCaseKeepsBytePositions)
{
    const Utf8CodePage cp(kEnglish);
    EXPECT_EQ(cp.upper("abc \xC3\xA9t\xC3\xA9"), "ABC \xC3\x89T\xC3\x89");   // été
    EXPECT_EQ(cp.upper("\xD0\xB0\xD0\xB1"), "\xD0\x90\xD0\x91");              // аб
    EXPECT_EQ(cp.upper("stra\xC3\x9F" "e"), "STRA\xC3\x9F" "E");              // ß has no one-letter capital
    EXPECT_EQ(cp.upper("\xC4\xB1"), "\xC4\xB1");  // dotless ı would shrink to one byte: kept
    EXPECT_EQ(cp.upper("x\xFFy\xC3"), "X\xFFY\xC3");
    EXPECT_EQ(CodePage::upperAscii("abc\xC3\xA9z"), "ABC\xC3\xA9Z");
}

TEST(Utf8CodePage, CollationIsLocaleAwareAndCaseSensitive)
{
    const Utf8CodePage cp(kEnglish);
    EXPECT_LT(cp.compare("beta", "Gamma"), 0);  // not by character codes
    EXPECT_GT(cp.compare("Gamma", "beta"), 0);
    EXPECT_NE(cp.compare("abc", "ABC"), 0);
    EXPECT_EQ(cp.compare("abc", "abc"), 0);
    EXPECT_LT(cp.compare("\xC3\xA9t\xC3\xA9", "f"), 0);  // é sorts with e
    EXPECT_TRUE(cp.equalsNoCase("My Disk", "my DISK"));
    EXPECT_TRUE(cp.equalsNoCase("\xC3\xA9T\xC3\xA9", "\xC3\x89t\xC3\x89"));
    EXPECT_FALSE(cp.equalsNoCase("Disk1", "Disk2"));
}

TEST(Utf8CodePage, ConvertsToAndFromUnicode)
{
    const Utf8CodePage cp(kEnglish);
    const QString s = QStringLiteral(u"Caf\u00e9 \u20ac");
    EXPECT_EQ(cp.fromUnicode(s), "Caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(cp.toUnicode(cp.fromUnicode(s)), s);
}

TEST(Windows1252CodePage, MapsTheWesternTable)
{
    const Windows1252CodePage cp(kEnglish);
    EXPECT_EQ(cp.toUnicode("\x80\xE9\x9F"), QStringLiteral(u"\u20ac\u00e9\u0178"));
    EXPECT_EQ(cp.fromUnicode(QStringLiteral(u"\u20ac\u00e9\u0416")), "\x80\xE9?");
    EXPECT_EQ(cp.upper("\xE9\x9A\xFF\xDF\xB5"), "\xC9\x8A\x9F\xDF\xB5");  // é š ÿ → É Š Ÿ; ß µ stay
    EXPECT_EQ(cp.charLength("\xE9\xE9", 0), 1u);
    EXPECT_TRUE(cp.equalsNoCase("\xC9t\xC9", "\xE9T\xE9"));
}

TEST(Windows1251CodePage, MapsTheCyrillicTable)
{
    const Windows1251CodePage cp(kEnglish);
    EXPECT_EQ(cp.toUnicode("\xC0\xFF\xA8\xB8"), QStringLiteral(u"\u0410\u044f\u0401\u0451"));
    EXPECT_EQ(cp.upper("\xE0\xFF\xB8"), "\xC0\xDF\xA8");  // а я ё → А Я Ё
    EXPECT_EQ(cp.fromUnicode(QStringLiteral(u"\u0416")), "\xC6");
}

TEST(ActiveCodePage, ScopedReplacementIsUndone)
{
    const std::string before(activeCodePage().name());
    {
        ScopedCodePage scoped(std::make_shared<Windows1252CodePage>(kEnglish));
        EXPECT_EQ(activeCodePage().name(), "windows-1252");
    }
    EXPECT_EQ(activeCodePage().name(), before);
}

TEST(LocaleFormat, SizeTextUsesTheKbThresholdAndSeparators)
{
    const LocaleFormat us(kEnglish);
    EXPECT_EQ(us.sizeText(0), QStringLiteral("0 KB"));
    EXPECT_EQ(us.sizeText(999), QStringLiteral("999 KB"));
    EXPECT_EQ(us.sizeText(1000), QStringLiteral("0.977 MB"));
    EXPECT_EQ(us.sizeText(1024), QStringLiteral("1.000 MB"));
    EXPECT_EQ(us.sizeText(1048576), QStringLiteral("1,024.000 MB"));
    const LocaleFormat german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(german.sizeText(1048576), QStringLiteral("1.024,000 MB"));
}

TEST(LocaleFormat, DateTextLeavesOutMidnightAndTheTimeZone)
{
    const LocaleFormat german(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("dd.MM.yyyy"),
                              QStringLiteral("HH:mm:ss"));
    EXPECT_EQ(german.dateText(encodeDateTime({2003, 5, 17, 14, 3, 8})), QStringLiteral("17.05.2003 14:03:08"));
    EXPECT_EQ(german.dateText(encodeDateTime({2003, 5, 17, 0, 0, 0})), QStringLiteral("17.05.2003"));
    const LocaleFormat us(kEnglish);
    EXPECT_FALSE(us.longTimeFormat().contains(u't'));
    const QString text = us.dateText(encodeDateTime({2003, 5, 17, 14, 3, 8}));
    EXPECT_TRUE(text.contains(QStringLiteral("2:03:08"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("PM"))) << text.toStdString();
}

TEST(DateTime, DayCountsStartAt18991230)
{
    EXPECT_DOUBLE_EQ(encodeDateTime({1899, 12, 30}), 0.0);
    EXPECT_DOUBLE_EQ(encodeDateTime({1900, 1, 1, 12}), 2.5);
    const DateTimeParts p = decodeDateTime(encodeDateTime({2024, 2, 29, 23, 59, 58}));
    EXPECT_EQ(p.year, 2024);
    EXPECT_EQ(p.month, 2);
    EXPECT_EQ(p.day, 29);
    EXPECT_EQ(p.hour, 23);
    EXPECT_EQ(p.minute, 59);
    EXPECT_EQ(p.second, 58);
}

TEST(DateTime, DosDateTimesRoundTripAndAreValidated)
{
    const std::uint32_t dos = dateTimeToDos(encodeDateTime({2003, 5, 17, 14, 3, 8}));
    EXPECT_EQ(dos, (23u << 25) | (5u << 21) | (17u << 16) | (14u << 11) | (3u << 5) | 4u);
    EXPECT_TRUE(isValidDosDateTime(dos));
    EXPECT_EQ(dateTimeToDos(dosToDateTime(dos)), dos);
    EXPECT_EQ(isoText(dosToDateTime(dos)), "2003-05-17T14:03:08");
    // Odd seconds go down to the even second below.
    EXPECT_EQ(dateTimeToDos(encodeDateTime({2003, 5, 17, 14, 3, 9})), dos);

    EXPECT_FALSE(isValidDosDateTime(0));                                       // month 0
    EXPECT_FALSE(isValidDosDateTime((23u << 25) | (2u << 21) | (30u << 16)));  // 30 February
    EXPECT_FALSE(isValidDosDateTime((23u << 25) | (1u << 21) | (1u << 16) | (24u << 11)));
    EXPECT_FALSE(isValidDosDateTime((23u << 25) | (1u << 21) | (1u << 16) | (60u << 5)));
    EXPECT_FALSE(isValidDosDateTime((23u << 25) | (1u << 21) | (1u << 16) | 30u));  // 60 seconds
    EXPECT_TRUE(isValidDosDateTime((23u << 25) | (1u << 21) | (1u << 16) | 29u));
}

TEST(DateTime, OutOfRangeDatesAreClampedWhenWritten)
{
    const std::uint32_t first = dateTimeToDos(encodeDateTime({1975, 6, 1, 10, 0, 0}));
    EXPECT_TRUE(isValidDosDateTime(first));
    EXPECT_EQ(isoText(dosToDateTime(first)), "1980-01-01T00:00:00");
    const std::uint32_t last = dateTimeToDos(encodeDateTime({2200, 1, 1}));
    EXPECT_TRUE(isValidDosDateTime(last));
    EXPECT_EQ(isoText(dosToDateTime(last)), "2107-12-31T23:59:58");
}

}  // namespace
