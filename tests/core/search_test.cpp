#include "catalog.h"
#include "containedtext.h"
#include "masks.h"
#include "searchengine.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

using namespace quillon;

namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);

// A criteria value as a run sets it up: the name mode decided from the pattern.
SearchCriteria named(std::string pattern)
{
    SearchCriteria c;
    c.useMask = SearchEngine::ChooseNameMode(pattern);
    c.pattern = std::move(pattern);
    c.today = encodeDateTime({2024, 6, 15});
    return c;
}

class Files : public ::testing::Test {
protected:
    TFileData file(std::string_view name, std::int64_t kb = 1, DateTime date = 0, std::string_view artist = {},
                   std::string_view title = {})
    {
        return makeFileData(store, name, kb * 1024, date, artist, title);
    }
    TextStore store;
};

TEST(ChooseNameMode, EmptyBecomesStarAndOnlyWildcardsMakeAMask)
{
    std::string p;
    EXPECT_TRUE(SearchEngine::ChooseNameMode(p));
    EXPECT_EQ(p, "*");
    p = "mp3";
    EXPECT_FALSE(SearchEngine::ChooseNameMode(p));
    EXPECT_EQ(p, "mp3");
    p = "[ab]";
    EXPECT_FALSE(SearchEngine::ChooseNameMode(p));
    p = "a?c";
    EXPECT_TRUE(SearchEngine::ChooseNameMode(p));
    p = "x*";
    EXPECT_TRUE(SearchEngine::ChooseNameMode(p));
}

TEST_F(Files, TextModeLooksForTheTextAnywhereInAnyCase)
{
    const SearchEngine engine(named("mp3"));
    EXPECT_TRUE(engine.MatchFileEntry(file("Song.MP3")));
    EXPECT_TRUE(engine.MatchFileEntry(file("mp3s")));
    EXPECT_FALSE(engine.MatchFileEntry(file("mp 3")));
    EXPECT_TRUE(engine.MatchFolderEntry(0, "MP3 collection"));
}

TEST_F(Files, MaskModeFitsTheWholeName)
{
    const SearchEngine engine(named("*.mp3"));
    EXPECT_TRUE(engine.MatchFileEntry(file("a.MP3")));
    EXPECT_FALSE(engine.MatchFileEntry(file("a.mp3.bak")));
    EXPECT_FALSE(engine.MatchFileEntry(file("mp3")));
    EXPECT_FALSE(engine.MatchFolderEntry(0, "mp3"));
}

TEST_F(Files, EmptyPatternFitsEveryName)
{
    const SearchEngine engine(named(""));
    EXPECT_EQ(engine.criteria().pattern, "*");
    EXPECT_TRUE(engine.MatchFileEntry(file("")));
    EXPECT_TRUE(engine.MatchFileEntry(file("anything.at.all")));
    EXPECT_TRUE(engine.MatchFolderEntry(0, "folder"));
}

TEST_F(Files, BracketWithoutWildcardIsContainedText)
{
    const SearchEngine engine(named("[ab]"));
    EXPECT_TRUE(engine.MatchFileEntry(file("x[ab]y")));
    EXPECT_FALSE(engine.MatchFileEntry(file("a")));
}

TEST(ContainedText, FoldsEveryLetterOfTheCodePageButMasksOnlyAtoZ)
{
    const Utf8CodePage utf8(kEnglish);
    EXPECT_TRUE(containsText("\xC3\x84PFEL", "\xC3\xA4", utf8));                 // ä in ÄPFEL
    EXPECT_TRUE(containsText("\xD0\xB4\xD0\xBE\xD0\xBC", "\xD0\x94\xD0\x9E", utf8));  // ДО in дом
    EXPECT_FALSE(FitsMask("\xC3\xA4pfel", "\xC3\x84*", utf8));

    const Windows1252CodePage western(kEnglish);
    EXPECT_TRUE(containsText("\xC4PFEL", "\xE4", western));
    EXPECT_TRUE(containsText("caf\xC9", "\xE9", western));
    EXPECT_FALSE(FitsMask("\xE4pfel", "\xC4*", western));

    const Windows1251CodePage cyrillic(kEnglish);
    EXPECT_TRUE(containsText("\xC4\xCE\xCC", "\xE4\xEE", cyrillic));  // ДОМ contains до
}

TEST(ContainedText, NeverStartsInsideAMultiByteCharacter)
{
    const Utf8CodePage utf8(kEnglish);
    // é is C3 A9 and € is E2 82 AC: their trailing bytes are not characters of the text.
    EXPECT_FALSE(containsText("\xC3\xA9", "\xA9", utf8));
    EXPECT_FALSE(containsText("x\xE2\x82\xAC", "\x82\xAC", utf8));
    // The same bytes standing alone are characters of their own.
    EXPECT_TRUE(containsText("x\xA9", "\xA9", utf8));
    EXPECT_TRUE(containsText("a\x82\xAC", "\x82\xAC", utf8));
    EXPECT_TRUE(containsText("\xC3\xA9\xC3\xA9", "\xC3\x89", utf8));
}

TEST(ContainedText, EmptyTextsAreNeverContained)
{
    const Utf8CodePage utf8(kEnglish);
    EXPECT_FALSE(containsText("", "a", utf8));
    EXPECT_FALSE(containsText("abc", "", utf8));
    EXPECT_FALSE(containsText("", "", utf8));
    EXPECT_FALSE(containsText("ab", "abc", utf8));
    EXPECT_TRUE(containsText("abc", "ABC", utf8));
    EXPECT_TRUE(containsText("xxabc", "BC", utf8));
    EXPECT_TRUE(containsText("aab", "ab", utf8));
}

TEST(ContainedText, TableFoldAgreesWithFoldingTheWholeText)
{
    // The byte-table path must answer as folding through the code page and searching at character starts.
    const Utf8CodePage utf8(kEnglish);
    const Windows1252CodePage western(kEnglish);
    std::mt19937 rng(7);
    const std::string alphabet[] = {"a", "B", "z", " ", ".", "\xC3\xA4", "\xC3\x84", "\xE2\x82\xAC", "\xA9", "\xC3"};
    auto randomText = [&](int maxLen) {
        std::string s;
        const int n = std::uniform_int_distribution<int>(0, maxLen)(rng);
        for (int i = 0; i < n; ++i) s += alphabet[std::uniform_int_distribution<int>(0, 9)(rng)];
        return s;
    };
    for (const CodePage* cp : {static_cast<const CodePage*>(&utf8), static_cast<const CodePage*>(&western)}) {
        for (int i = 0; i < 3000; ++i) {
            const std::string text = randomText(8);
            const std::string needle = randomText(3);
            bool expected = false;
            const std::string ft = cp->upper(text);
            const std::string fn = cp->upper(needle);
            if (!text.empty() && !needle.empty()) {
                for (std::size_t p = 0; p + fn.size() <= ft.size(); p += cp->charLength(text, p)) {
                    if (ft.compare(p, fn.size(), fn) == 0) expected = true;
                }
            }
            EXPECT_EQ(ContainedText(needle, *cp).foundIn(text), expected)
                << cp->name() << " text [" << text << "] needle [" << needle << "]";
        }
    }
}

TEST(SearchEngine, OneCompiledMaskAnswersAsCompilingPerEntry)
{
    std::mt19937 rng(11);
    const char pieces[] = "ab*?[]!-.";
    const char letters[] = "aAbB.c";
    for (int i = 0; i < 4000; ++i) {
        std::string mask;
        for (int k = std::uniform_int_distribution<int>(1, 6)(rng); k > 0; --k) mask += pieces[rng() % 9];
        SearchCriteria c;
        c.pattern = mask;
        c.useMask = true;
        const SearchEngine engine(c);
        for (int j = 0; j < 5; ++j) {
            std::string name;
            for (int k = std::uniform_int_distribution<int>(0, 5)(rng); k > 0; --k) name += letters[rng() % 6];
            bool expected = false;
            bool expectedThrows = false;
            try {
                expected = FitsMask(name, mask);
            } catch (const EMaskException&) {
                expectedThrows = true;
            }
            if (expectedThrows) {
                EXPECT_THROW(engine.nameFits(name), EMaskException) << mask;
            } else {
                EXPECT_EQ(engine.nameFits(name), expected) << "mask [" << mask << "] name [" << name << "]";
            }
        }
    }
}

TEST_F(Files, InvalidMaskFailsEveryTestWithItsMessage)
{
    const SearchEngine engine(named("*[abc"));
    try {
        engine.MatchFileEntry(file("a"));
        FAIL() << "no exception";
    } catch (const EMaskException& e) {
        EXPECT_STREQ(e.what(), "'*[abc' is an invalid mask at (6)");
    }
    EXPECT_THROW(engine.MatchFolderEntry(0, "a"), EMaskException);
}

TEST_F(Files, NewCriteriaApplyToTheNextEntry)
{
    SearchEngine engine(named("a*"));
    const TFileData apple = file("apple");
    EXPECT_TRUE(engine.MatchFileEntry(apple));
    SearchCriteria c = engine.criteria();
    c.pattern = "b*";
    engine.setCriteria(c);
    EXPECT_FALSE(engine.MatchFileEntry(apple));
    // The name mode stays as the run decided it: a pattern without wildcards is still a mask.
    c.pattern = "apple";
    engine.setCriteria(c);
    EXPECT_TRUE(engine.MatchFileEntry(apple));
    EXPECT_FALSE(engine.MatchFileEntry(file("pineapple")));
    c.useMask = false;
    engine.setCriteria(c);
    EXPECT_TRUE(engine.MatchFileEntry(file("pineapple")));
    c.sizeOn = true;
    c.sizeKB = 2;
    engine.setCriteria(c);
    EXPECT_FALSE(engine.MatchFileEntry(apple));
}

class MediaInfo : public Files {
protected:
    SearchEngine engineFor(std::string artist, std::string title)
    {
        SearchCriteria c = named("*.mp3");
        c.mediaInfo = true;
        c.artist = std::move(artist);
        c.title = std::move(title);
        return SearchEngine(c);
    }
    TFileData tagged() { return file("01 Rain.mp3", 1, 0, "Brass Ferns", " - Rain"); }
    TFileData untagged() { return file("Love Song.mp3", 1, 0, "Love Song", ""); }
};

TEST_F(MediaInfo, EmptyArtistAndTitlePassEveryFile)
{
    const SearchEngine engine = engineFor("", "");
    EXPECT_TRUE(engine.MatchFileEntry(tagged()));
    EXPECT_TRUE(engine.MatchFileEntry(untagged()));
}

TEST_F(MediaInfo, ArtistAndTitleAreLookedForInTheirFields)
{
    EXPECT_TRUE(engineFor("brass", "").MatchFileEntry(tagged()));
    EXPECT_FALSE(engineFor("rain", "").MatchFileEntry(tagged()));
    EXPECT_TRUE(engineFor("", "RAIN").MatchFileEntry(tagged()));
    // A tagged file's title is looked for in its title only, not in its artist.
    EXPECT_FALSE(engineFor("", "ferns").MatchFileEntry(tagged()));
    EXPECT_TRUE(engineFor("ferns", "rain").MatchFileEntry(tagged()));
    EXPECT_FALSE(engineFor("ferns", "snow").MatchFileEntry(tagged()));
    // The title text " - " is the prefix of every title.
    EXPECT_TRUE(engineFor("", " - ").MatchFileEntry(tagged()));
}

TEST_F(MediaInfo, UntaggedFileMatchesTitleInItsName)
{
    EXPECT_TRUE(engineFor("", "song").MatchFileEntry(untagged()));
    EXPECT_TRUE(engineFor("love", "song").MatchFileEntry(untagged()));
    EXPECT_FALSE(engineFor("", " - ").MatchFileEntry(untagged()));
}

TEST_F(MediaInfo, FilesWithoutMediaInfoAndFoldersAreNotHeldBack)
{
    SearchCriteria c = named("*");
    c.mediaInfo = true;
    c.artist = "nobody";
    const SearchEngine engine(c);
    EXPECT_TRUE(engine.MatchFileEntry(file("readme.txt")));
    EXPECT_FALSE(engine.MatchFileEntry(tagged()));
    EXPECT_TRUE(engine.MatchFolderEntry(0, "Music"));
}

class Dates : public Files {
protected:
    bool fits(DateKind kind, std::int64_t count, DateTime date)
    {
        SearchCriteria c = named("*");
        c.dateOn = true;
        c.dateKind = kind;
        c.months = count;
        c.days = count;
        c.today = today;
        const SearchEngine engine(c);
        const bool fileResult = engine.MatchFileEntry(file("f", 1, date));
        EXPECT_EQ(engine.MatchFolderEntry(date, "d"), fileResult);
        return fileResult;
    }
    const DateTime today = encodeDateTime({2024, 6, 15});
};

TEST_F(Dates, LastZeroDaysIsTheDayBeforeAndAfterToday)
{
    const double second = 1.0 / 86400;
    EXPECT_FALSE(fits(DateKind::LastDays, 0, today - 1));
    EXPECT_TRUE(fits(DateKind::LastDays, 0, today - 1 + second));
    EXPECT_TRUE(fits(DateKind::LastDays, 0, today));
    EXPECT_TRUE(fits(DateKind::LastDays, 0, today + 1 - second));
    EXPECT_FALSE(fits(DateKind::LastDays, 0, today + 1));
    EXPECT_TRUE(fits(DateKind::LastDays, 3, today - 3.5));
    EXPECT_FALSE(fits(DateKind::LastDays, 3, today - 4));
    EXPECT_TRUE(fits(DateKind::LastDays, 3, today + 3.9));
}

TEST_F(Dates, MonthsAreDaysOverAnAverageMonthTruncated)
{
    // 1 month: less than 2 * 30.4375 = 60.875 days away, in either direction.
    EXPECT_TRUE(fits(DateKind::LastMonths, 1, today - 60.87));
    EXPECT_FALSE(fits(DateKind::LastMonths, 1, today - 60.875));
    EXPECT_TRUE(fits(DateKind::LastMonths, 1, today + 60.87));
    EXPECT_FALSE(fits(DateKind::LastMonths, 1, today + 61));
    EXPECT_TRUE(fits(DateKind::LastMonths, 0, today - 30.4));
    EXPECT_FALSE(fits(DateKind::LastMonths, 0, today - 30.5));
    EXPECT_TRUE(fits(DateKind::LastMonths, 12, today - 365));
    EXPECT_FALSE(fits(DateKind::LastMonths, 12, today - 396));
}

TEST_F(Dates, NegativeCountsRejectEverything)
{
    EXPECT_FALSE(fits(DateKind::LastDays, -1, today));
    EXPECT_FALSE(fits(DateKind::LastMonths, -1, today));
}

TEST_F(Dates, BetweenTakesBothFullDateTimesInclusive)
{
    SearchCriteria c = named("*");
    c.dateOn = true;
    c.dateKind = DateKind::Between;
    c.firstDate = encodeDateTime({2002, 7, 12, 20, 44, 56});
    c.secondDate = encodeDateTime({2002, 7, 22, 20, 44, 56});
    SearchEngine engine(c);
    EXPECT_FALSE(engine.MatchFileEntry(file("f", 1, encodeDateTime({2002, 7, 12, 20, 44, 55}))));
    EXPECT_TRUE(engine.MatchFileEntry(file("f", 1, c.firstDate)));
    EXPECT_TRUE(engine.MatchFileEntry(file("f", 1, encodeDateTime({2002, 7, 17}))));
    EXPECT_TRUE(engine.MatchFileEntry(file("f", 1, c.secondDate)));
    EXPECT_FALSE(engine.MatchFileEntry(file("f", 1, encodeDateTime({2002, 7, 22, 20, 44, 57}))));
    EXPECT_FALSE(engine.MatchFolderEntry(encodeDateTime({2002, 7, 23}), "d"));

    std::swap(c.firstDate, c.secondDate);
    engine.setCriteria(c);
    EXPECT_FALSE(engine.MatchFileEntry(file("f", 1, encodeDateTime({2002, 7, 17}))));
}

TEST_F(Files, SizeSensesAndFolders)
{
    SearchCriteria c = named("*");
    c.sizeOn = true;
    c.sizeSense = SizeSense::AtLeast;
    c.sizeKB = 0;
    SearchEngine engine(c);
    EXPECT_TRUE(engine.MatchFileEntry(file("empty", 0)));
    EXPECT_FALSE(engine.MatchFolderEntry(0, "folder"));

    c.sizeKB = 10;
    engine.setCriteria(c);
    EXPECT_FALSE(engine.MatchFileEntry(file("f", 9)));
    EXPECT_TRUE(engine.MatchFileEntry(file("f", 10)));

    c.sizeSense = SizeSense::AtMost;
    c.sizeKB = 0;
    engine.setCriteria(c);
    EXPECT_TRUE(engine.MatchFileEntry(file("empty", 0)));
    EXPECT_FALSE(engine.MatchFileEntry(makeFileData(store, "one byte", 1, 0)));
    EXPECT_FALSE(engine.MatchFolderEntry(0, "folder"));

    c.sizeSense = SizeSense::Unselected;
    engine.setCriteria(c);
    EXPECT_TRUE(engine.MatchFileEntry(file("big", 5000)));
    EXPECT_FALSE(engine.MatchFolderEntry(0, "folder"));

    c.sizeOn = false;
    engine.setCriteria(c);
    EXPECT_TRUE(engine.MatchFolderEntry(0, "folder"));
}

TEST_F(Files, CriteriaCombineAndTheNameDecidesFirst)
{
    SearchCriteria c = named("*.mp3");
    c.mediaInfo = true;
    c.artist = "brass";
    c.dateOn = true;
    c.dateKind = DateKind::LastDays;
    c.days = 10;
    c.sizeOn = true;
    c.sizeSense = SizeSense::AtLeast;
    c.sizeKB = 100;
    const SearchEngine engine(c);
    const DateTime recent = c.today - 2;
    EXPECT_TRUE(engine.MatchFileEntry(file("a.mp3", 200, recent, "Brass", " - A")));
    EXPECT_FALSE(engine.MatchFileEntry(file("a.mp4", 200, recent)));
    EXPECT_FALSE(engine.MatchFileEntry(file("a.mp3", 200, recent, "Wood", " - A")));
    EXPECT_FALSE(engine.MatchFileEntry(file("a.mp3", 200, c.today - 20, "Brass", " - A")));
    EXPECT_FALSE(engine.MatchFileEntry(file("a.mp3", 50, recent, "Brass", " - A")));
}

}  // namespace
