#include "textadvances.h"

#include "codepage.h"
#include "fakeadvances.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

using namespace quillon;
using quillon::test::fakeAdvance;
using quillon::test::fakeSum;

namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);

TEST(TextAdvances, SumsTheAdvancesOfATextsUnits)
{
    TextAdvances advances(fakeAdvance);
    for (const QString& text : {QString(), QStringLiteral("a"), QStringLiteral("Hello, World 0123"),
                                QStringLiteral(u"Caf\u00e9 \u20ac \u4e2d\u6587"), QStringLiteral(u"\uffff\u007f\t")})
        EXPECT_EQ(advances.sum(text), fakeSum(text)) << text.toStdString();
    EXPECT_EQ(advances.unit(u'W'), double(fakeAdvance(u'W')));
    EXPECT_EQ(advances.unit(u'\u4e2d'), double(fakeAdvance(u'\u4e2d')));
}

TEST(TextAdvances, MeasuresEachUnitOnce)
{
    std::map<char16_t, int> asked;
    TextAdvances advances([&](char16_t unit) {
        ++asked[unit];
        return fakeAdvance(unit);
    });
    const QString text = QStringLiteral(u"abcabc \u00e9\u00e9\u4e2d\u4e2d");
    const double first = advances.sum(text);
    EXPECT_EQ(advances.sum(text), first);
    EXPECT_EQ(asked.size(), 6u);
    for (const auto& [unit, count] : asked) EXPECT_EQ(count, 1) << int(unit);
}

TEST(TextAdvances, CharactersOutsideTheBasicPlaneMakeTheSumInfinite)
{
    TextAdvances advances(fakeAdvance);
    const QString clef = QStringLiteral(u"a \U0001D11E b");
    EXPECT_TRUE(std::isinf(advances.sum(clef)));
    EXPECT_TRUE(std::isinf(advances.sum(std::string_view("a \xF0\x9D\x84\x9E b"), Utf8CodePage(kEnglish))));
    EXPECT_FALSE(std::isinf(advances.sum(QStringLiteral("a b"))));
}

TEST(TextAdvances, ByteTextsSumAsTheirCharactersInTheCodePage)
{
    TextAdvances advances(fakeAdvance);
    const Utf8CodePage utf8(kEnglish);
    const Windows1252CodePage western(kEnglish);
    const Windows1251CodePage cyrillic(kEnglish);
    const std::string texts[] = {
        "",
        "plain name.txt",
        " ~!@#$%^&*()_+{}|:\"<>?`-=[]\\;',./",
        "caf\xC3\xA9 \xE2\x82\xAC",  // UTF-8 café €
        "caf\xE9 \x80",              // the same in Windows-1252; Cyrillic letters in Windows-1251
        "tab\there\x7F",
        "x\xFFy\xC3",  // not UTF-8
    };
    for (const CodePage* codePage : {static_cast<const CodePage*>(&utf8), static_cast<const CodePage*>(&western),
                                     static_cast<const CodePage*>(&cyrillic)}) {
        for (const std::string& text : texts)
            EXPECT_EQ(advances.sum(text, *codePage), fakeSum(codePage->toUnicode(text)))
                << codePage->name() << " " << text;
    }
    // One byte, three different characters.
    EXPECT_NE(advances.sum(std::string_view("\xE9"), western), advances.sum(std::string_view("\xE9"), cyrillic));
}

TEST(TextAdvances, PrintableAsciiSumsStraightFromTheBytes)
{
    TextAdvances advances(fakeAdvance);
    double sum = -1;
    ASSERT_TRUE(advances.sumPrintableAscii("Ab ~", sum));
    EXPECT_EQ(sum, fakeSum(QStringLiteral("Ab ~")));
    ASSERT_TRUE(advances.sumPrintableAscii("", sum));
    EXPECT_EQ(sum, 0.0);
    EXPECT_FALSE(advances.sumPrintableAscii("tab\t", sum));
    EXPECT_FALSE(advances.sumPrintableAscii("del\x7F", sum));
    EXPECT_FALSE(advances.sumPrintableAscii("caf\xC3\xA9", sum));
}

// Font engines give advances in 64ths of a pixel; such sums are added in whole ticks, and must come out as
// the same sums added in pixels. Texts of every length up to a few dozen bytes, with a byte outside printable
// ASCII in every place.
TEST(TextAdvances, PrintableAsciiSumsInTicksAsInPixels)
{
    auto ticks = [](char16_t unit) { return float((320 + unit % 29 * 3) / 64.0); };
    TextAdvances advances(ticks);
    std::string text;
    for (int length = 0; length < 40; ++length) {
        double expected = 0;
        for (const char byte : text) expected += double(ticks(char16_t(byte)));
        double sum = -1;
        ASSERT_TRUE(advances.sumPrintableAscii(text, sum)) << text;
        EXPECT_EQ(sum, expected) << text;
        for (std::size_t at = 0; at < text.size(); ++at) {
            for (const char other : {'\x1F', '\x7F', '\xC3'}) {
                std::string outside = text;
                outside[at] = other;
                EXPECT_FALSE(advances.sumPrintableAscii(outside, sum)) << length << " " << at;
            }
        }
        text += char(' ' + (length * 37) % 95);
    }
    // An advance that is not a whole tick: the sums are made in pixels.
    TextAdvances fractional([&](char16_t unit) { return unit == u'q' ? 7.3f : ticks(unit); });
    double sum = -1;
    ASSERT_TRUE(fractional.sumPrintableAscii("aq", sum));
    EXPECT_EQ(sum, double(ticks(u'a')) + double(7.3f));
}

}  // namespace
