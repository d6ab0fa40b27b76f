#include "catalog.h"
#include "codepage.h"
#include "listviewcompare.h"
#include "sortedrows.h"

#include <QCollatorSortKey>
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <vector>

using namespace quillon;

namespace {

std::string asciiKey(const CodePage& cp, std::string_view s)
{
    std::string key(CodePage::asciiKeyLength(s.size()), '\0');
    cp.writeAsciiKey(s, reinterpret_cast<unsigned char*>(key.data()));
    return key;
}

// Names as folders hold them: words, digits, spaces and punctuation, case variants of one another, texts that
// start others, and the letter groups some languages sort as one letter.
std::vector<std::string> randomNames(std::uint32_t seed, int count)
{
    static const char* const kPieces[] = {
        "a",   "A",  "aa",  "Aa", "AA", "b",    "ch",  "Ch", "CH", "c'h", "h",  "z",  "Z",  "o",   "O",   "e",
        "ae",  "oe", "dzs", "cs", "sz", "ll",   "lj",  "nj", "ng", "th",  "v",  "w",  "W",  "y",   "i",   "I",
        "ss",  "1",  "2",   "10", "0",  " ",    "  ",  "-",  "_",  ".",   ",",  "'",  "(",  ")",   "[",   "]",
        "~",   "!",  "#",   "$",  "%", "&",    "+",   "=",  "@",  "^",   "`",  "{",  "}",  ";",   "\\",  "/",
        "\"",  "|",  "<",   ">",  "?", "*",    ":",   "mp3", "Track", "track", "IMG", "img_", "DSC", "Copy of ",
    };
    constexpr std::size_t kPieceCount = sizeof(kPieces) / sizeof(kPieces[0]);
    std::mt19937 random(seed);
    std::vector<std::string> names;
    names.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        std::string s;
        if (!names.empty() && random() % 4 == 0) {
            // A near neighbour of an earlier name: a case changed, a piece added or a character dropped.
            s = names[random() % names.size()];
            const std::uint32_t change = random() % 3;
            if (change == 0 && !s.empty()) {
                char& c = s[random() % s.size()];
                if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
                else if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
            } else if (change == 1) {
                s += kPieces[random() % kPieceCount];
            } else if (!s.empty()) {
                s.erase(random() % s.size(), 1);
            }
        } else {
            const std::uint32_t pieces = random() % 7;
            for (std::uint32_t j = 0; j < pieces; ++j) s += kPieces[random() % kPieceCount];
            if (random() % 3 == 0) s.push_back(char(0x20 + random() % 95));
        }
        names.push_back(std::move(s));
    }
    return names;
}

// The positions of the names in the order of the ASCII keys and in the order of the collation keys, ties
// kept in their first order by both.
void expectSameOrder(const CodePage& cp, const std::vector<std::string>& names, const char* locale)
{
    std::vector<std::string> keys;
    std::vector<QCollatorSortKey> collationKeys;
    for (const std::string& name : names) {
        ASSERT_TRUE(CodePage::isPrintableAscii(name));
        keys.push_back(asciiKey(cp, name));
        collationKeys.push_back(cp.sortKey(name));
    }
    std::vector<std::size_t> byAscii(names.size());
    std::iota(byAscii.begin(), byAscii.end(), std::size_t(0));
    std::vector<std::size_t> byCollation = byAscii;
    std::stable_sort(byAscii.begin(), byAscii.end(), [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    std::stable_sort(byCollation.begin(), byCollation.end(),
                     [&](std::size_t a, std::size_t b) { return collationKeys[a].compare(collationKeys[b]) < 0; });
    for (std::size_t i = 0; i < names.size(); ++i) {
        ASSERT_EQ(names[byAscii[i]], names[byCollation[i]]) << locale << ", position " << i;
        ASSERT_EQ(byAscii[i], byCollation[i]) << locale << ", position " << i << ": ties ordered differently";
    }
}

struct LocaleCase {
    const char* name;
    QLocale locale;
};

std::vector<LocaleCase> locales()
{
    return {
        {"en_US", QLocale(QLocale::English, QLocale::UnitedStates)},
        {"de_DE", QLocale(QLocale::German, QLocale::Germany)},
        {"sv_SE", QLocale(QLocale::Swedish, QLocale::Sweden)},
        {"da_DK", QLocale(QLocale::Danish, QLocale::Denmark)},
        {"nb_NO", QLocale(QLocale::NorwegianBokmal, QLocale::Norway)},
        {"cs_CZ", QLocale(QLocale::Czech, QLocale::CzechRepublic)},
        {"sk_SK", QLocale(QLocale::Slovak, QLocale::Slovakia)},
        {"hu_HU", QLocale(QLocale::Hungarian, QLocale::Hungary)},
        {"hr_HR", QLocale(QLocale::Croatian, QLocale::Croatia)},
        {"cy_GB", QLocale(QLocale::Welsh, QLocale::UnitedKingdom)},
        {"es_ES", QLocale(QLocale::Spanish, QLocale::Spain)},
        {"fr_FR", QLocale(QLocale::French, QLocale::France)},
        {"fr_CA", QLocale(QLocale::French, QLocale::Canada)},
        {"tr_TR", QLocale(QLocale::Turkish, QLocale::Turkey)},
        {"pl_PL", QLocale(QLocale::Polish, QLocale::Poland)},
        {"ru_RU", QLocale(QLocale::Russian, QLocale::Russia)},
        {"ja_JP", QLocale(QLocale::Japanese, QLocale::Japan)},
        {"th_TH", QLocale(QLocale::Thai, QLocale::Thailand)},
        {"C", QLocale::c()},
    };
}

TEST(AsciiKeys, SortExactlyAsTheCollatorWheneverUsed)
{
    for (const LocaleCase& lc : locales()) {
        const Utf8CodePage cp(lc.locale);
        if (!cp.hasAsciiKeys()) continue;
        expectSameOrder(cp, randomNames(11, 20000), lc.name);
        // Every text of one or two characters and the empty text.
        std::vector<std::string> short_ = {""};
        for (int a = 0x20; a < 0x7F; ++a) {
            short_.emplace_back(1, char(a));
            for (int b = 0x20; b < 0x7F; ++b) short_.push_back({char(a), char(b)});
        }
        std::shuffle(short_.begin(), short_.end(), std::mt19937(2));
        expectSameOrder(cp, short_, lc.name);
    }
}

// The key read in chunks, one at a time or the first few at once, is the key, with zeros past its end; a text
// that is not printable ASCII is refused by the reading at once, wherever its odd byte lies.
TEST(AsciiKeys, ChunksSpellTheKey)
{
    const Utf8CodePage cp(QLocale(QLocale::English, QLocale::UnitedStates));
    ASSERT_TRUE(cp.hasAsciiKeys());
    std::vector<std::string> texts = randomNames(3, 400);
    texts.push_back(std::string(70, 'x'));
    for (const std::string& text : texts) {
        std::string key = asciiKey(cp, text);
        key.resize(std::max<std::size_t>(key.size(), 80) / 8 * 8 + 8, '\0');
        std::uint64_t first[5];
        ASSERT_TRUE(cp.firstAsciiKeyChunks(text, first, 5)) << text;
        for (std::size_t c = 0; c * 8 < key.size(); ++c) {
            std::uint64_t expected = 0;
            for (std::size_t b = 0; b < 8; ++b) expected = expected << 8 | static_cast<unsigned char>(key[c * 8 + b]);
            EXPECT_EQ(cp.asciiKeyChunk(text, c * 8), expected) << text << ", chunk " << c;
            if (c < 5) {
                EXPECT_EQ(first[c], expected) << text << ", chunk " << c;
            }
        }
    }
    std::uint64_t chunks[4];
    for (const char* odd : {"caf\xC3\xA9", "tab\there", "\x7F", "a long name that goes on past the chunks read\x01"})
        EXPECT_FALSE(cp.firstAsciiKeyChunks(odd, chunks, 4)) << odd;
}

TEST(AsciiKeys, CommonLocalesUseThem)
{
    for (const QLocale& locale : {QLocale(QLocale::English, QLocale::UnitedStates),
                                  QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::Swedish, QLocale::Sweden),
                                  QLocale(QLocale::Turkish, QLocale::Turkey), QLocale::c()}) {
        EXPECT_TRUE(Utf8CodePage(locale).hasAsciiKeys()) << locale.name().toStdString();
    }
    EXPECT_TRUE(Windows1252CodePage(QLocale(QLocale::English, QLocale::UnitedStates)).hasAsciiKeys());
}

TEST(AsciiKeys, LetterPairsSortedAsOneLetterTurnThemOff)
{
    const Utf8CodePage danish(QLocale(QLocale::Danish, QLocale::Denmark));
    ASSERT_GT(danish.compare("aa", "z"), 0);  // aa is å, after z
    EXPECT_FALSE(danish.hasAsciiKeys());
    const Utf8CodePage czech(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    ASSERT_GT(czech.compare("ch", "hz"), 0);  // ch comes after h
    EXPECT_FALSE(czech.hasAsciiKeys());
    const Utf8CodePage hungarian(QLocale(QLocale::Hungarian, QLocale::Hungary));
    ASSERT_GT(hungarian.compare("csa", "cz"), 0);  // cs comes after c
    EXPECT_FALSE(hungarian.hasAsciiKeys());
}

TEST(AsciiKeys, OnlyPrintableAscii)
{
    EXPECT_TRUE(CodePage::isPrintableAscii(""));
    EXPECT_TRUE(CodePage::isPrintableAscii(" Song ~ (1).mp3"));
    EXPECT_FALSE(CodePage::isPrintableAscii("tab\there"));
    EXPECT_FALSE(CodePage::isPrintableAscii("del\x7F"));
    EXPECT_FALSE(CodePage::isPrintableAscii("caf\xC3\xA9"));
    EXPECT_FALSE(CodePage::isPrintableAscii(std::string_view("nul\0", 4)));
}

// Many files and folders in one folder, sorted by name in both directions: the same order as a stable sort by
// the row comparison, whether all names are ASCII, a few are not (down to one) or many are not.
TEST(AsciiKeys, SortedRowsFollowTheRowComparison)
{
    static const char* const kAccented[] = {"caf\xC3\xA9", "Bj\xC3\xB6rk", "\xC3\x85ngstr\xC3\xB6m", "na\xC3\xAFve",
                                            "\xC3\xA9t\xC3\xA9", "Stra\xC3\x9F" "e", "\xD0\xB0\xD0\xB1", "z\xC3\xBC",
                                            "\xC3\x86" "bler", "tab\there", "cafe\x7F", "\x01" "cafe"};
    for (const LocaleCase& lc : locales()) {
        const auto cp = std::make_shared<Utf8CodePage>(lc.locale);
        const ScopedCodePage scoped(cp);
        for (const int otherEvery : {0, 3000, 40, 5}) {
            Catalog catalog;
            CatalogNode* v = catalog.addVolume("V", NewFolderData(1), nullptr);
            std::vector<std::string> names = randomNames(7, 3000);
            std::mt19937 random(9);
            for (std::size_t i = 0; otherEvery && i < names.size(); i += std::size_t(otherEvery)) {
                // Accented names next to their plain forms and to each other, some more than once.
                const std::string accented = kAccented[random() % std::size(kAccented)];
                const std::uint32_t where = random() % 3;
                names[i] = where == 0 ? accented : where == 1 ? names[i] + accented : accented + names[i];
            }
            // Plain forms, and one that the collation may find equal to some above, as it ignores control
            // characters.
            for (const char* plain :
                 {"cafe", "Bjork", "Cafe", "bjork", "Angstrom", "Strasse", "zu", "naive", "tabhere", "cafe"})
                names.push_back(plain);
            for (std::size_t i = 0; i < names.size(); ++i) {
                if (i % 10 == 0) {
                    v->addFolder(names[i], NewFolderData(1));
                } else {
                    v->data().Files.push_back(makeFileData(*v->store(), names[i], 1, 0));
                }
            }
            const std::vector<ContentsRow> rows = contentsRows(catalog, *v);
            for (const int direction : {1, -1})
                expectRowsSortedStably(rows, {0, direction}, lc.name);
        }
    }
}

}  // namespace
