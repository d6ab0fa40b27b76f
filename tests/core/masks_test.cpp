#include "masks.h"
#include "codepage.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <vector>

using namespace quillon;

namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);

// UTF-8 texts used below.
const std::string kEAcute = "\xC3\xA9";      // é
const std::string kCapEAcute = "\xC3\x89";   // É
const std::string kEuro = "\xE2\x82\xAC";    // €
const std::string kAUmlaut = "\xC3\xA4";     // ä
const std::string kCapAUmlaut = "\xC3\x84";  // Ä

bool fits(std::string_view name, std::string_view mask) { return TMask(mask).matches(name); }

// The position at which compiling the mask fails, or nullopt when it compiles.
std::optional<std::size_t> errorPosition(std::string_view mask, const CodePage& cp = activeCodePage())
{
    try {
        TMask m(mask, cp);
    } catch (const EMaskException& e) {
        return e.position();
    }
    return std::nullopt;
}

std::string repeat(std::string_view piece, int count)
{
    std::string s;
    for (int i = 0; i < count; ++i) s += piece;
    return s;
}

// ---- Reference matcher: compiles and matches straight from the rules, trying every choice of skips. Slow on
// purpose and independent of TMask's code, so the two can be compared on many random masks and names.

struct RefElement {
    enum Kind { Literal, AnyChar, Set, End } kind = End;
    bool skip = false;
    std::string bytes;  // Literal: the character, upper-cased when it is a single byte
    std::set<unsigned> codes;
    bool negate = false;
};

struct RefMask {
    std::vector<RefElement> elements;
    std::optional<std::size_t> error;
};

RefMask refCompile(std::string_view m, const CodePage& cp)
{
    RefMask r;
    bool skip = false;
    int skips = 0;
    auto add = [&](RefElement e, std::size_t position) {
        e.skip = skip;
        skip = false;
        if (e.skip && ++skips > 30) {
            r.error = position;
            return false;
        }
        r.elements.push_back(e);
        return true;
    };
    std::size_t i = 0;
    while (i < m.size()) {
        const std::size_t len = cp.charLength(m, i);
        const char c = m[i];
        RefElement e;
        if (len > 1) {
            e.kind = RefElement::Literal;
            e.bytes = std::string(m.substr(i, len));
            if (!add(e, i + 1)) return r;
            i += len;
        } else if (c == '*') {
            skip = true;
            ++i;
        } else if (c == '?') {
            if (!skip) {
                e.kind = RefElement::AnyChar;
                if (!add(e, i + 1)) return r;
            }
            ++i;
        } else if (c == '[') {
            e.kind = RefElement::Set;
            std::size_t j = i + 1;
            if (j < m.size() && m[j] == '!') {
                e.negate = true;
                ++j;
            }
            int last = -1;
            while (true) {
                if (j >= m.size()) {
                    r.error = m.size() + 1;
                    return r;
                }
                const std::size_t l = cp.charLength(m, j);
                if (l > 1) {
                    j += l;
                    continue;
                }
                if (m[j] == ']') break;
                if (m[j] == '-') {
                    if (last < 0) {
                        r.error = j + 1;
                        return r;
                    }
                    if (j + 1 >= m.size()) {
                        r.error = m.size() + 1;
                        return r;
                    }
                    const unsigned high = static_cast<unsigned char>(CodePage::upperAscii(m[j + 1]));
                    for (unsigned code = unsigned(last); code <= high; ++code) e.codes.insert(code);
                    j += 1 + cp.charLength(m, j + 1);
                    continue;
                }
                last = static_cast<unsigned char>(CodePage::upperAscii(m[j]));
                e.codes.insert(unsigned(last));
                ++j;
            }
            if (e.codes.empty()) {
                r.error = j + 1;
                return r;
            }
            if (!add(e, j + 1)) return r;
            i = j + 1;
        } else {
            e.kind = RefElement::Literal;
            e.bytes = std::string(1, CodePage::upperAscii(c));
            if (!add(e, i + 1)) return r;
            ++i;
        }
    }
    RefElement end;
    add(end, m.size() + 1);
    return r;
}

bool refMatchHere(const RefMask& m, std::size_t k, std::string_view name, std::size_t pos,
                  const CodePage& cp);

bool refMatch(const RefMask& m, std::size_t k, std::string_view name, std::size_t pos, const CodePage& cp)
{
    if (!m.elements[k].skip) return refMatchHere(m, k, name, pos, cp);
    for (std::size_t start = pos;; start += cp.charLength(name, start)) {
        if (refMatchHere(m, k, name, start, cp)) return true;
        if (start >= name.size()) return false;
    }
}

bool refMatchHere(const RefMask& m, std::size_t k, std::string_view name, std::size_t pos, const CodePage& cp)
{
    const RefElement& e = m.elements[k];
    if (e.kind == RefElement::End) return pos == name.size();
    if (pos >= name.size()) return false;
    const std::size_t len = cp.charLength(name, pos);
    std::string ch(name.substr(pos, len));
    if (len == 1) ch[0] = CodePage::upperAscii(ch[0]);
    bool ok = false;
    switch (e.kind) {
    case RefElement::Literal:
        ok = ch == e.bytes;
        break;
    case RefElement::AnyChar:
        ok = true;
        break;
    case RefElement::Set:
        ok = (len == 1 && e.codes.count(static_cast<unsigned char>(ch[0])) > 0) != e.negate;
        break;
    case RefElement::End:
        break;
    }
    return ok && refMatch(m, k + 1, name, pos + len, cp);
}

// ---- The cases users meet

TEST(TMask, MaskedExtensionsFitWithoutRegardToCase)
{
    EXPECT_TRUE(fits("a.MP3", "*.mp3"));
    EXPECT_TRUE(fits(".mp3", "*.mp3"));
    EXPECT_FALSE(fits("a.mp3.bak", "*.mp3"));
    EXPECT_FALSE(fits("mp3", "*.mp3"));
    EXPECT_FALSE(fits("a.mp", "*.mp3"));
}

TEST(TMask, StarAndQuestionMark)
{
    EXPECT_TRUE(fits("", "*"));
    EXPECT_TRUE(fits("anything at all", "*"));
    EXPECT_TRUE(fits("", "**"));
    EXPECT_TRUE(fits("abc", "a*c"));
    EXPECT_TRUE(fits("ac", "a*c"));
    EXPECT_FALSE(fits("abcd", "a*c"));
    EXPECT_TRUE(fits("abc", "a?c"));
    EXPECT_FALSE(fits("ac", "a?c"));
    EXPECT_FALSE(fits("a", "?a"));
    EXPECT_TRUE(fits("ba", "?a"));
    EXPECT_FALSE(fits("", "?"));
    EXPECT_TRUE(fits("abab", "*ab"));
    EXPECT_TRUE(fits("xaxbx", "*a*b*"));
    EXPECT_FALSE(fits("xbxax", "*a*b*"));
}

TEST(TMask, EmptyMaskFitsOnlyTheEmptyName)
{
    EXPECT_TRUE(fits("", ""));
    EXPECT_FALSE(fits("a", ""));
}

TEST(TMask, QuestionMarkAfterStarIsDropped)
{
    // The "?" does not demand a character once a "*" stands before it.
    EXPECT_TRUE(fits("a", "a*?"));
    EXPECT_TRUE(fits("", "*?"));
    EXPECT_TRUE(fits("a", "*?a"));
    EXPECT_TRUE(fits("", "*?*?"));
    EXPECT_TRUE(fits("", "*??"));  // every "?" up to the next other element
    EXPECT_TRUE(fits("a", "*??a"));
    EXPECT_TRUE(fits("ab", "a*?b"));
    // A "?" before a "*" still does.
    EXPECT_FALSE(fits("", "?*"));
    EXPECT_TRUE(fits("x", "?*"));
    EXPECT_FALSE(fits("a", "a?*"));
    // Only the "?" right after the stars is dropped; the next one counts again.
    EXPECT_FALSE(fits("a", "*?a?"));
    EXPECT_TRUE(fits("ab", "*?a?"));
}

TEST(TMask, OtherSpecialCharactersOutsideSetsAreLiterals)
{
    EXPECT_TRUE(fits("a]b", "a]b"));
    EXPECT_TRUE(fits("a-b!", "a-b!"));
    EXPECT_FALSE(fits("ab", "a-b"));
    EXPECT_TRUE(fits("[x]", "[[]x]"));
}

TEST(TMask, OnlyAToZAreFolded)
{
    EXPECT_TRUE(fits("ABCxyz", "abcXYZ"));
    EXPECT_TRUE(fits("HELLO.txt", "hello*"));
    // Neighbours of the letters in the code table are not letters.
    EXPECT_FALSE(fits("@", "`"));
    EXPECT_FALSE(fits("[", "{"));
    EXPECT_FALSE(fits("^", "~"));
    // Accented letters keep their case, in UTF-8 ...
    EXPECT_FALSE(fits(kAUmlaut + "pfel", kCapAUmlaut + "*"));
    EXPECT_TRUE(fits(kCapAUmlaut + "PFEL", kCapAUmlaut + "*"));
    EXPECT_FALSE(fits(kCapEAcute, kEAcute));
    EXPECT_FALSE(fits(kCapEAcute, "[!a]" + kEAcute));
    // ... and in a Western single-byte code page.
    const Windows1252CodePage western(kEnglish);
    EXPECT_FALSE(TMask("\xC4*", western).matches("\xE4pfel"));  // Ä* and äpfel
    EXPECT_TRUE(TMask("\xC4*", western).matches("\xC4pfel"));
    EXPECT_FALSE(TMask("[\xC4]", western).matches("\xE4"));
    EXPECT_TRUE(TMask("[\xC4]", western).matches("\xC4"));
}

// ---- Sets

TEST(TMask, SetsAndRanges)
{
    EXPECT_TRUE(fits("Banana", "[a-c]*"));
    EXPECT_TRUE(fits("banana", "[A-C]*"));
    EXPECT_FALSE(fits("dates", "[a-c]*"));
    EXPECT_FALSE(fits("", "[a-c]*"));
    EXPECT_TRUE(fits("x2", "x[0-9]"));
    EXPECT_TRUE(fits("b", "[abc]"));
    EXPECT_TRUE(fits("C", "[abc]"));
    EXPECT_FALSE(fits("d", "[abc]"));
    EXPECT_TRUE(fits("q", "[a-cq]"));
    // A range whose second end comes first holds the first end only.
    EXPECT_TRUE(fits("cx", "[c-a]x"));
    EXPECT_TRUE(fits("CX", "[c-a]x"));
    EXPECT_FALSE(fits("ax", "[c-a]x"));
    EXPECT_FALSE(fits("bx", "[c-a]x"));
    // A set stands for exactly one character.
    EXPECT_FALSE(fits("ab", "[a-c]"));
    EXPECT_FALSE(fits("", "[a-c]"));
}

TEST(TMask, LaterRangeStartsAtLastSingleCharacter)
{
    // In «[a-c-e]» the second range runs from "a", the last single character, to "e".
    EXPECT_TRUE(fits("d", "[a-c-e]"));
    // In «[e-a-c]» it runs from "e" to "c" and adds nothing; starting it at the "a" would add "b".
    EXPECT_TRUE(fits("e", "[e-a-c]"));
    EXPECT_FALSE(fits("b", "[e-a-c]"));
    EXPECT_FALSE(fits("a", "[e-a-c]"));
}

TEST(TMask, RangeMayEndInClosingBracket)
{
    // "]" after "-" ends the range, and the set goes on to the next "]": «[a-]x]» is "A" to "]" plus "X".
    EXPECT_TRUE(fits("[", "[a-]x]"));  // "[" lies between "A" and "]"
    EXPECT_TRUE(fits("m", "[a-]x]"));
    EXPECT_TRUE(fits("]", "[a-]x]"));
    EXPECT_FALSE(fits("^", "[a-]x]"));  // just past "]"
    EXPECT_FALSE(fits("]x]", "[a-]x]"));
}

TEST(TMask, NegatedSets)
{
    EXPECT_FALSE(fits("apple", "[!a-c]*"));
    EXPECT_TRUE(fits("date", "[!a-c]*"));
    EXPECT_FALSE(fits("x", "x[!y]"));  // a negated set needs a character
    EXPECT_TRUE(fits("xz", "x[!y]"));
    EXPECT_FALSE(fits("xY", "x[!y]"));
    // Only a "!" right after "[" negates; elsewhere it is a member, as are "[", "*" and "?".
    EXPECT_TRUE(fits("!", "[a!]"));
    EXPECT_FALSE(fits("b", "[a!]"));
    EXPECT_FALSE(fits("!", "[!!]"));
    EXPECT_TRUE(fits("a", "[!!]"));
    EXPECT_TRUE(fits("*", "[*?[]"));
    EXPECT_TRUE(fits("?", "[*?[]"));
    EXPECT_TRUE(fits("[", "[*?[]"));
    EXPECT_FALSE(fits("x", "[*?[]"));
}

// ---- Invalid masks

TEST(TMask, InvalidMaskMessageAndPosition)
{
    try {
        TMask m("[]");
        FAIL() << "no exception";
    } catch (const EMaskException& e) {
        EXPECT_STREQ(e.what(), "'[]' is an invalid mask at (2)");
        EXPECT_EQ(e.mask(), "[]");
        EXPECT_EQ(e.position(), 2u);
    }
    try {
        TMask m("*[abc");
        FAIL() << "no exception";
    } catch (const EMaskException& e) {
        EXPECT_STREQ(e.what(), "'*[abc' is an invalid mask at (6)");
    }
    try {
        TMask m("[-a]");
        FAIL() << "no exception";
    } catch (const EMaskException& e) {
        EXPECT_STREQ(e.what(), "'[-a]' is an invalid mask at (2)");
    }
}

TEST(TMask, InvalidMaskPositions)
{
    EXPECT_EQ(errorPosition("[]"), 2u);
    EXPECT_EQ(errorPosition("[!]"), 3u);
    EXPECT_EQ(errorPosition("abc[]"), 5u);
    EXPECT_EQ(errorPosition("[-a]"), 2u);
    EXPECT_EQ(errorPosition("[!-a]"), 3u);
    EXPECT_EQ(errorPosition("x[abc"), 6u);
    EXPECT_EQ(errorPosition("["), 2u);
    EXPECT_EQ(errorPosition("[!"), 3u);
    // A mask that ends right after "-" has no closing "]", and neither has one whose range took the only "]".
    EXPECT_EQ(errorPosition("[a-"), 4u);
    EXPECT_EQ(errorPosition("[a-]"), 5u);
    EXPECT_EQ(errorPosition("[a-]]"), std::nullopt);
    // A "-" after a range still has a single character before it.
    EXPECT_EQ(errorPosition("[a-c-e]"), std::nullopt);
    // The first error in the text is reported.
    EXPECT_EQ(errorPosition("[]*[abc"), 2u);
    EXPECT_EQ(errorPosition("]"), std::nullopt);
}

TEST(TMask, InvalidMaskPositionsCountBytes)
{
    // é takes two bytes in UTF-8.
    EXPECT_EQ(errorPosition(kEAcute + "[]"), 4u);
    EXPECT_EQ(errorPosition(kEAcute + "[ab"), 6u);
    try {
        TMask m(kEAcute + "[]");
        FAIL() << "no exception";
    } catch (const EMaskException& e) {
        EXPECT_EQ(std::string(e.what()), "'" + kEAcute + "[]' is an invalid mask at (4)");
    }
}

TEST(TMask, AtMostThirtyElementsAfterStars)
{
    EXPECT_EQ(errorPosition(repeat("*a", 30)), std::nullopt);
    EXPECT_TRUE(TMask(repeat("*a", 30)).matches(repeat("xa", 30)));
    // Raised at the letter of the 31st pair.
    EXPECT_EQ(errorPosition(repeat("*a", 31)), 62u);
    // Several stars in a row and a dropped "?" count once.
    EXPECT_EQ(errorPosition(repeat("**?a", 30)), std::nullopt);
    // Elements without a star before them do not count.
    EXPECT_EQ(errorPosition(repeat("*ab", 30) + "cd"), std::nullopt);
    // A trailing star gives the end of the name the 31st flag: position past the end.
    EXPECT_EQ(errorPosition(repeat("*a", 30) + "*"), 62u);
    // A set is counted at its "]".
    EXPECT_EQ(errorPosition(repeat("*a", 30) + "*[xy]"), 65u);
    // A multi-byte character at its first byte.
    EXPECT_EQ(errorPosition(repeat("*a", 30) + "*" + kEAcute), 62u);
}

// ---- Characters of several bytes

TEST(TMask, MultiByteCharacterIsOneCharacter)
{
    EXPECT_TRUE(fits(kEAcute, "?"));
    EXPECT_FALSE(fits(kEAcute, "??"));
    EXPECT_TRUE(fits(kEuro, "?"));
    EXPECT_TRUE(fits("a" + kEAcute + "b", "a?b"));
    EXPECT_TRUE(fits("caf" + kEAcute, "caf" + kEAcute));
    EXPECT_TRUE(fits("caf" + kEAcute, "*" + kEAcute));
    EXPECT_TRUE(fits(kEuro + "100", kEuro + "*"));
    EXPECT_TRUE(fits("x" + kEuro + "y", "*" + kEuro + "*"));
    EXPECT_FALSE(fits("x" + kEAcute + "y", "*" + kEuro + "*"));
}

TEST(TMask, SkipsNeverSplitACharacter)
{
    // A lone trail byte in the mask is a character of its own and must not match the tail of é.
    const std::string strayTrail = "\xA9";
    EXPECT_FALSE(fits(kEAcute, "*" + strayTrail));
    EXPECT_FALSE(fits("x" + kEAcute + "y", "*" + strayTrail + "*"));
    EXPECT_TRUE(fits(kEAcute + strayTrail, "*" + strayTrail));  // é followed by a stray byte
    // A lone lead byte at the end of the mask is not the start of é.
    EXPECT_FALSE(fits(kEAcute, "\xC3*"));
    EXPECT_FALSE(fits(kEAcute, "\xC3?"));
    // In a single-byte code page the same bytes are two characters.
    const Windows1252CodePage western(kEnglish);
    EXPECT_TRUE(TMask("*" + strayTrail, western).matches(kEAcute));
    EXPECT_TRUE(TMask("??", western).matches(kEAcute));
}

TEST(TMask, MultiByteCharacterInSetIsPassedOverWhole)
{
    // A set with only multi-byte characters holds nothing and is refused at its "]".
    EXPECT_EQ(errorPosition("[" + kEAcute + "]"), 4u);
    EXPECT_EQ(errorPosition("[!" + kEAcute + kEuro + "]"), 8u);
    // The character adds nothing, not even its trail byte as a character of its own.
    EXPECT_TRUE(fits("a", "[" + kEAcute + "a]"));
    EXPECT_FALSE(fits(kEAcute, "[" + kEAcute + "a]"));
    EXPECT_FALSE(fits("\xA9", "[" + kEAcute + "a]"));
    // It is not a single character that a range could start from.
    EXPECT_EQ(errorPosition("[" + kEAcute + "-z]"), 4u);
    // A negated set takes a multi-byte character of the name whole.
    EXPECT_TRUE(fits(kEAcute, "[!a]"));
    EXPECT_TRUE(fits(kEuro + "x", "[!a]x"));
    EXPECT_FALSE(fits(kEAcute, "[!a]?"));
    // A range may end in one: it runs to the character's first byte, and the rest of the character adds
    // nothing.
    EXPECT_TRUE(fits("zx", "[a-" + kEAcute + "]x"));
    EXPECT_FALSE(fits(kEAcute + "x", "[a-" + kEAcute + "]x"));
    EXPECT_EQ(errorPosition("[a-" + kEAcute), 6u);
    // From the lone byte C0 to the first byte of é: C0 to C3, without é's trail byte A9.
    EXPECT_TRUE(fits("\xC1", "[\xC0-" + kEAcute + "]"));
    EXPECT_FALSE(fits("\xA9", "[\xC0-" + kEAcute + "]"));
    // A set holding the lone byte C3 still does not take é, which begins with that byte.
    EXPECT_TRUE(fits("\xC3", "[\xC3]*"));
    EXPECT_FALSE(fits(kEAcute, "[\xC3]*"));
    EXPECT_FALSE(fits(kEAcute, "[\xC3]"));
    EXPECT_TRUE(fits(kEAcute, "[!\xC3]*"));
}

// ---- Cost

TEST(TMask, ManyStarsOverALongNameFinish)
{
    // Trying every combination of skips would take longer than the universe has left.
    const std::string mask = repeat("*a", 25) + "*b";
    const std::string name(20000, 'a');
    EXPECT_FALSE(TMask(mask).matches(name));
    EXPECT_TRUE(TMask(mask).matches(name + "b"));
    EXPECT_FALSE(TMask(repeat("*a", 25) + "b").matches(name + "ab" + "c"));
    EXPECT_TRUE(TMask(repeat("*a?", 10) + "*" + kEAcute).matches(repeat("a" + kEuro, 5000) + kEAcute));
}

// ---- Strategies

TEST(TMask, CommonShapesUseByteComparison)
{
    const Windows1252CodePage western(kEnglish);
    EXPECT_EQ(TMask("*.mp3").strategy(), TMask::Strategy::Suffix);
    EXPECT_EQ(TMask("abc*").strategy(), TMask::Strategy::Prefix);
    EXPECT_EQ(TMask("*").strategy(), TMask::Strategy::Prefix);
    EXPECT_EQ(TMask("*abc*").strategy(), TMask::Strategy::Contains);
    EXPECT_EQ(TMask("abc").strategy(), TMask::Strategy::Exact);
    EXPECT_EQ(TMask("[a-c]*").strategy(), TMask::Strategy::SetPrefix);
    EXPECT_EQ(TMask("*" + kEAcute + "t" + kEAcute + "*").strategy(), TMask::Strategy::Contains);
    EXPECT_EQ(TMask("a*c").strategy(), TMask::Strategy::General);
    EXPECT_EQ(TMask("*a?").strategy(), TMask::Strategy::General);
    // A lone non-ASCII byte could match inside a UTF-8 character if compared byte by byte.
    EXPECT_EQ(TMask("*\xA9").strategy(), TMask::Strategy::General);
    EXPECT_EQ(TMask("*\xA9", western).strategy(), TMask::Strategy::Suffix);
}

// ---- Against the reference

struct Alphabet {
    std::vector<std::string> maskPieces;
    std::vector<std::string> namePieces;
    std::vector<std::string> literalPieces;
};

std::string randomText(std::mt19937& rng, const std::vector<std::string>& pieces, int maxPieces)
{
    std::uniform_int_distribution<int> count(0, maxPieces);
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    std::string s;
    for (int n = count(rng); n > 0; --n) s += pieces[pick(rng)];
    return s;
}

// Masks of the shapes that have byte-comparison strategies, so those are compared too.
std::string randomShapedMask(std::mt19937& rng, const Alphabet& a)
{
    const std::string literal = randomText(rng, a.literalPieces, 4);
    // Built with append: GCC 12 warns falsely (-Wrestrict) about some chains of operator+ here.
    std::string mask;
    switch (std::uniform_int_distribution<int>(0, 4)(rng)) {
    case 0:
        return mask.append("*").append(literal);
    case 1:
        return mask.append(literal).append("*");
    case 2:
        return mask.append("*").append(literal).append("*");
    case 3:
        return literal;
    default:
        mask.append(std::uniform_int_distribution<int>(0, 1)(rng) ? "[!" : "[");
        return mask.append(randomText(rng, a.literalPieces, 3)).append("]*");
    }
}

void compareWithReference(const CodePage& cp, const Alphabet& alphabet, unsigned seed)
{
    std::mt19937 rng(seed);
    std::map<TMask::Strategy, int> strategies;
    int checkedNames = 0;
    for (int round = 0; round < 4000; ++round) {
        const std::string mask =
            round % 2 ? randomText(rng, alphabet.maskPieces, 7) : randomShapedMask(rng, alphabet);
        const RefMask ref = refCompile(mask, cp);
        std::optional<TMask> mine;
        try {
            mine.emplace(mask, cp);
        } catch (const EMaskException& e) {
            ASSERT_EQ(ref.error, e.position()) << "mask «" << mask << "»";
            continue;
        }
        ASSERT_EQ(ref.error, std::nullopt) << "mask «" << mask << "»";
        ++strategies[mine->strategy()];
        for (int k = 0; k < 25; ++k) {
            const std::string name = randomText(rng, alphabet.namePieces, 7);
            ASSERT_EQ(mine->matches(name), refMatch(ref, 0, name, 0, cp))
                << "mask «" << mask << "» name «" << name << "»";
            ++checkedNames;
        }
    }
    // Every strategy must have had its share, or the comparison proves little about it.
    for (auto s : {TMask::Strategy::General, TMask::Strategy::Exact, TMask::Strategy::Prefix,
                   TMask::Strategy::Suffix, TMask::Strategy::Contains, TMask::Strategy::SetPrefix}) {
        EXPECT_GT(strategies[s], 50) << "strategy " << int(s);
    }
    EXPECT_GT(checkedNames, 50000);
}

TEST(TMask, AgreesWithReferenceInUtf8)
{
    const Utf8CodePage utf8(kEnglish);
    // Stray lead and trail bytes may meet in a text and form é; that is part of the test.
    const Alphabet a{
        {"a", "A", "b", "c", "x", kEAcute, kEuro, "\xC3", "\xA9", "*", "*", "?", "[", "]", "]", "!", "-"},
        {"a", "A", "b", "B", "c", "x", kEAcute, kCapEAcute, kEuro, "\xC3", "\xA9", "]", "!", "-", "["},
        {"a", "B", "c", "x", kEAcute, kEuro, "\xC3", "\xA9", "]", "-", "!"},
    };
    compareWithReference(utf8, a, 20240601);
}

TEST(TMask, AgreesWithReferenceInSingleByteCodePage)
{
    const Windows1252CodePage western(kEnglish);
    const Alphabet a{
        {"a", "A", "b", "c", "x", "\xC4", "\xE4", "*", "*", "?", "[", "]", "]", "!", "-"},
        {"a", "A", "b", "B", "c", "x", "\xC4", "\xE4", "]", "!", "-", "["},
        {"a", "B", "c", "x", "\xC4", "\xE4", "]", "-", "!"},
    };
    compareWithReference(western, a, 7);
}

}  // namespace
