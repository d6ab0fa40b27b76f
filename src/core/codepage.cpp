#include "codepage.h"

#include <QCollatorSortKey>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <random>
#include <utility>
#include <vector>

namespace quillon {

namespace {

QCollator makeCollator(const QLocale& locale)
{
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseSensitive);
    collator.setNumericMode(false);
    collator.setIgnorePunctuation(false);
    return collator;
}

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Decodes the valid UTF-8 sequence of the given length at p.
char32_t decodeUtf8(const unsigned char* p, std::size_t len)
{
    switch (len) {
    case 2: return char32_t(((p[0] & 0x1F) << 6) | (p[1] & 0x3F));
    case 3: return char32_t(((p[0] & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F));
    case 4:
        return char32_t(((p[0] & 0x07) << 18) | ((p[1] & 0x3F) << 12) | ((p[2] & 0x3F) << 6) | (p[3] & 0x3F));
    default: return p[0];
    }
}

std::size_t encodeUtf8(char32_t c, char* out)
{
    if (c < 0x80) {
        out[0] = char(c);
        return 1;
    }
    if (c < 0x800) {
        out[0] = char(0xC0 | (c >> 6));
        out[1] = char(0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        out[0] = char(0xE0 | (c >> 12));
        out[1] = char(0x80 | ((c >> 6) & 0x3F));
        out[2] = char(0x80 | (c & 0x3F));
        return 3;
    }
    out[0] = char(0xF0 | (c >> 18));
    out[1] = char(0x80 | ((c >> 12) & 0x3F));
    out[2] = char(0x80 | ((c >> 6) & 0x3F));
    out[3] = char(0x80 | (c & 0x3F));
    return 4;
}

std::shared_ptr<const CodePage>& activeSlot()
{
    static std::shared_ptr<const CodePage> active = std::make_shared<Utf8CodePage>();
    return active;
}

}  // namespace

CodePage::CodePage(const QLocale& collationLocale) : m_collator(makeCollator(collationLocale)) {}

std::string CodePage::upperAscii(std::string_view s)
{
    std::string out(s);
    for (char& c : out) c = upperAscii(c);
    return out;
}

int CodePage::compare(std::string_view a, std::string_view b) const
{
    if (a == b) return 0;
    return m_collator.compare(toUnicode(a), toUnicode(b));
}

QCollatorSortKey CodePage::sortKey(std::string_view s) const { return m_collator.sortKey(toUnicode(s)); }

namespace {

constexpr int kFirstPrintable = 0x20;
constexpr int kPrintableCount = 95;  // 0x20 to 0x7E

// Texts on which the ASCII keys must order as the collator does: every text of up to two characters, which
// brings out any pair of letters sorted as one, then texts that put spaces, punctuation, digits and case
// differences next to each other, among them the letter groups that some languages sort as one letter.
std::vector<std::string> asciiCheckTexts()
{
    std::vector<std::string> texts;
    texts.emplace_back();
    for (int a = 0; a < kPrintableCount; ++a) {
        texts.emplace_back(1, char(kFirstPrintable + a));
        for (int b = 0; b < kPrintableCount; ++b) {
            texts.push_back({char(kFirstPrintable + a), char(kFirstPrintable + b)});
        }
    }
    static const char* const kTricky[] = {
        "a-b", "ab", "a b", "a_b", "a.b", "a,b", "a'b", "a~b", "a  b", "a--b", "ab-", "ab ", "-ab", " ab", "_ab",
        "co-op", "coop", "co op", "Co-op", "CO-OP", "coo", "cop", "file", "File", "FILE", "file1", "file10",
        "file2", "file 2", "file-2", "file_2", "file.2", "File2", "aa", "Aa", "aA", "AA", "aaa", "AAA", "aab",
        "aaz", "az", "ch", "Ch", "cH", "CH", "cha", "chz", "ci", "cz", "hz", "i", "c'h", "C'h", "c'H", "cs", "ccs",
        "dz", "dzs", "ddzs", "ddz", "gy", "ggy", "ly", "lly", "ny", "nny", "sz", "ssz", "ty", "tty", "zs", "zzs",
        "ll", "dd", "ff", "ng", "ph", "rh", "th", "dh", "gj", "rr", "sh", "xh", "zh", "lj", "nj", "dz", "ij",
        "IJ", "ae", "AE", "oe", "ue", "ss", "SS", "v", "w", "vw", "wv", "y", "u", "x", "q", "o",
    };
    for (const char* t : kTricky) {
        const std::string s(t);
        texts.push_back(s);
        for (const char* around : {"a", "z", "A", "Z", " ", "-", "0", "9", "_", "h"}) {
            texts.push_back(around + s);
            texts.push_back(s + around);
            texts.push_back(around + s + around);
        }
    }
    // Mixed texts and near neighbours of each: one character's case changed, one character left out, one put in.
    static constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::mt19937 random(0x5eedu);
    auto pick = [&](int n) { return int(random() % std::uint32_t(n)); };
    auto randomChar = [&] {
        const int kind = pick(10);
        if (kind < 6) return kLetters[std::size_t(pick(int(kLetters.size())))];
        if (kind < 8) return char('0' + pick(10));
        return char(kFirstPrintable + pick(kPrintableCount));
    };
    for (int i = 0; i < 1500; ++i) {
        std::string s;
        const int length = 1 + pick(14);
        for (int j = 0; j < length; ++j) s.push_back(randomChar());
        texts.push_back(s);
        std::string flipped = s;
        char& c = flipped[std::size_t(pick(length))];
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
        else if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
        texts.push_back(std::move(flipped));
        texts.push_back(std::string(s).erase(std::size_t(pick(length)), 1));
        texts.push_back(std::string(s).insert(std::size_t(pick(length + 1)), 1, randomChar()));
    }
    return texts;
}

}  // namespace

bool CodePage::isPrintableAscii(std::string_view s)
{
    for (const char c : s) {
        if (c < 0x20 || c > 0x7E) return false;
    }
    return true;
}

bool CodePage::hasAsciiKeys() const
{
    std::call_once(m_asciiOnce, [this] { m_ascii = makeAsciiTables(); });
    return m_ascii.usable;
}

void CodePage::writeAsciiKey(std::string_view s, unsigned char* out) const { writeKey(m_ascii, s, out); }

std::uint64_t CodePage::asciiKeyChunk(std::string_view s, std::size_t offset) const
{
    const std::size_t n = s.size();
    const auto at = [&](std::size_t i) { return std::size_t(static_cast<unsigned char>(s[i]) - kFirstPrintable); };
    std::uint64_t chunk = 0;
    if (offset + 8 <= n) {
        for (std::size_t p = offset; p < offset + 8; ++p) chunk = chunk << 8 | m_ascii.primary[at(p)];
        return chunk;
    }
    for (std::size_t p = offset; p < offset + 8; ++p) {
        unsigned byte = 0;
        if (p < n)
            byte = m_ascii.primary[at(p)];
        else if (p > n && p <= 2 * n)
            byte = m_ascii.tertiary[at(p - n - 1)];
        chunk = chunk << 8 | byte;
    }
    return chunk;
}

void CodePage::writeKey(const AsciiTables& tables, std::string_view s, unsigned char* out)
{
    // The letters without their case first, then a byte below every rank, so that a text sorts before any longer
    // text it starts, then the cases, which only decide between texts with the same letters.
    const std::size_t n = s.size();
    for (std::size_t i = 0; i < n; ++i) out[i] = tables.primary[std::size_t(s[i] - kFirstPrintable)];
    out[n] = 0;
    for (std::size_t i = 0; i < n; ++i) out[n + 1 + i] = tables.tertiary[std::size_t(s[i] - kFirstPrintable)];
}

bool CodePage::firstAsciiKeyChunks(std::string_view s, std::uint64_t* chunks, std::size_t count) const
{
    unsigned char key[64];
    const std::size_t wanted = std::min<std::size_t>(count, 8) * 8;
    const std::size_t n = s.size();
    const std::size_t primaries = std::min(n, wanted);
    for (std::size_t p = 0; p < primaries; ++p) {
        const unsigned c = unsigned(static_cast<unsigned char>(s[p])) - kFirstPrintable;
        if (c >= unsigned(kPrintableCount)) return false;
        key[p] = m_ascii.primary[c];
    }
    for (std::size_t p = primaries; p < n; ++p) {
        if (unsigned(static_cast<unsigned char>(s[p])) - kFirstPrintable >= unsigned(kPrintableCount)) return false;
    }
    std::size_t p = primaries;
    if (p < wanted) key[p++] = 0;
    for (std::size_t i = 0; p < wanted && i < n; ++i, ++p)
        key[p] = m_ascii.tertiary[std::size_t(static_cast<unsigned char>(s[i]) - kFirstPrintable)];
    for (; p < wanted; ++p) key[p] = 0;
    for (std::size_t c = 0; c * 8 < wanted; ++c) {
        std::uint64_t chunk = 0;
        for (std::size_t b = 0; b < 8; ++b) chunk = chunk << 8 | key[c * 8 + b];
        chunks[c] = chunk;
    }
    return true;
}

CodePage::AsciiTables CodePage::makeAsciiTables() const
{
    AsciiTables tables;
    auto icuKey = [this](std::string_view s) { return sortKey(s); };
    std::vector<QCollatorSortKey> singleKeys;
    singleKeys.reserve(kPrintableCount);
    for (int c = 0; c < kPrintableCount; ++c) singleKeys.push_back(icuKey(std::string(1, char(kFirstPrintable + c))));
    std::vector<int> order(kPrintableCount);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return singleKeys[std::size_t(a)].compare(singleKeys[std::size_t(b)]) < 0; });

    // Neighbours x < y in that order differ in their letters, not only in case, exactly when x followed by the
    // last character still sorts before y followed by the first.
    const char lowest = char(kFirstPrintable + order.front());
    const char highest = char(kFirstPrintable + order.back());
    unsigned char primary = 1;
    unsigned char tertiary = 0;
    tables.primary[std::size_t(order.front())] = primary;
    tables.tertiary[std::size_t(order.front())] = tertiary;
    for (int i = 1; i < kPrintableCount; ++i) {
        const int x = order[std::size_t(i - 1)];
        const int y = order[std::size_t(i)];
        if (singleKeys[std::size_t(x)].compare(singleKeys[std::size_t(y)]) == 0) return tables;
        const std::string xHigh{char(kFirstPrintable + x), highest};
        const std::string yLow{char(kFirstPrintable + y), lowest};
        if (icuKey(xHigh).compare(icuKey(yLow)) < 0) {
            ++primary;
            tertiary = 0;
        } else {
            ++tertiary;
        }
        tables.primary[std::size_t(y)] = primary;
        tables.tertiary[std::size_t(y)] = tertiary;
    }
    tables.usable = true;

    // Sorted by the ASCII keys, every text must compare with the next one as the collator has it: then, the
    // collator's order being transitive, it agrees on every pair.
    const std::vector<std::string> texts = asciiCheckTexts();
    std::vector<std::string> keys;
    keys.reserve(texts.size());
    for (const std::string& text : texts) {
        std::string key(asciiKeyLength(text.size()), '\0');
        writeKey(tables, text, reinterpret_cast<unsigned char*>(key.data()));
        keys.push_back(std::move(key));
    }
    std::vector<std::size_t> sorted(texts.size());
    std::iota(sorted.begin(), sorted.end(), std::size_t(0));
    std::sort(sorted.begin(), sorted.end(), [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    auto sign = [](int v) { return (v > 0) - (v < 0); };
    QCollatorSortKey previous = icuKey(texts[sorted.front()]);
    for (std::size_t i = 1; i < sorted.size(); ++i) {
        QCollatorSortKey current = icuKey(texts[sorted[i]]);
        const int expected = sign(previous.compare(current));
        const int actual = sign(keys[sorted[i - 1]].compare(keys[sorted[i]]));
        if (expected != actual) {
            tables.usable = false;
            break;
        }
        previous = std::move(current);
    }
    return tables;
}

bool CodePage::equalsNoCase(std::string_view a, std::string_view b) const
{
    if (a.size() != b.size()) return false;
    if (a == b) return true;
    return upper(a) == upper(b);
}

std::size_t Utf8CodePage::charLength(std::string_view s, std::size_t pos) const
{
    const auto* p = reinterpret_cast<const unsigned char*>(s.data()) + pos;
    const std::size_t left = s.size() - pos;
    const unsigned char c = p[0];
    std::size_t len = 1;
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
    }
    if (len == 1 || len > left) return 1;
    for (std::size_t i = 1; i < len; ++i) {
        if (!isContinuation(p[i])) return 1;
    }
    // Overlong forms, surrogates and values past U+10FFFF are not characters.
    if (c == 0xE0 && p[1] < 0xA0) return 1;
    if (c == 0xED && p[1] >= 0xA0) return 1;
    if (c == 0xF0 && p[1] < 0x90) return 1;
    if (c == 0xF4 && p[1] >= 0x90) return 1;
    return len;
}

std::string Utf8CodePage::upper(std::string_view s) const
{
    std::string out(s);
    for (std::size_t i = 0; i < out.size();) {
        const auto c = static_cast<unsigned char>(out[i]);
        if (c < 0x80) {
            out[i] = upperAscii(char(c));
            ++i;
            continue;
        }
        const std::size_t len = charLength(out, i);
        if (len > 1) {
            const char32_t cp = decodeUtf8(reinterpret_cast<const unsigned char*>(out.data()) + i, len);
            const char32_t up = QChar::toUpper(cp);
            if (up != cp) {
                char buf[4];
                // A letter whose capital takes another number of bytes keeps its form, so that byte
                // positions stay valid between a text and its folded copy.
                if (encodeUtf8(up, buf) == len) out.replace(i, len, buf, len);
            }
        }
        i += len;
    }
    return out;
}

QString Utf8CodePage::toUnicode(std::string_view s) const
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

std::string Utf8CodePage::fromUnicode(const QString& s) const { return s.toStdString(); }

TableCodePage::TableCodePage(const QLocale& collationLocale, const std::array<char16_t, 128>& upperHalf)
    : CodePage(collationLocale)
{
    for (int i = 0; i < 128; ++i) m_toUnicode[i] = char16_t(i);
    for (int i = 0; i < 128; ++i) m_toUnicode[128 + i] = upperHalf[i];
    for (int i = 0; i < 256; ++i) {
        m_upper[i] = static_cast<unsigned char>(i);
        const char16_t up = QChar::toUpper(m_toUnicode[i]);
        if (up == m_toUnicode[i]) continue;
        for (int j = 0; j < 256; ++j) {
            if (m_toUnicode[j] == up) {
                m_upper[i] = static_cast<unsigned char>(j);
                break;
            }
        }
    }
}

std::string TableCodePage::upper(std::string_view s) const
{
    std::string out(s);
    for (char& c : out) c = char(m_upper[static_cast<unsigned char>(c)]);
    return out;
}

QString TableCodePage::toUnicode(std::string_view s) const
{
    QString out(qsizetype(s.size()), Qt::Uninitialized);
    for (std::size_t i = 0; i < s.size(); ++i) out[qsizetype(i)] = QChar(m_toUnicode[static_cast<unsigned char>(s[i])]);
    return out;
}

std::string TableCodePage::fromUnicode(const QString& s) const
{
    std::string out;
    out.reserve(std::size_t(s.size()));
    for (const QChar ch : s) {
        const char16_t u = ch.unicode();
        char byte = '?';
        if (u < 0x80) {
            byte = char(u);
        } else {
            for (int j = 128; j < 256; ++j) {
                if (m_toUnicode[j] == u) {
                    byte = char(j);
                    break;
                }
            }
        }
        out.push_back(byte);
    }
    return out;
}

namespace {

// Bytes 0x80 to 0xFF; undefined positions map to the C1 control of the same value, as Windows does.
constexpr std::array<char16_t, 128> kWindows1252 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152,
    0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122,
    0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, 0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF, 0x00B0, 0x00B1, 0x00B2, 0x00B3,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x00B9, 0x00BA, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF, 0x00C0,
    0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7, 0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD,
    0x00CE, 0x00CF, 0x00D0, 0x00D1, 0x00D2, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7, 0x00D8, 0x00D9, 0x00DA,
    0x00DB, 0x00DC, 0x00DD, 0x00DE, 0x00DF, 0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7,
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x00EC, 0x00ED, 0x00EE, 0x00EF, 0x00F0, 0x00F1, 0x00F2, 0x00F3, 0x00F4,
    0x00F5, 0x00F6, 0x00F7, 0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x00FD, 0x00FE, 0x00FF,
};

constexpr std::array<char16_t, 128> kWindows1251 = [] {
    std::array<char16_t, 128> t = {
        0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039,
        0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
        0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408,
        0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
        0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB,
        0x0458, 0x0405, 0x0455, 0x0457,
    };
    // 0xC0 to 0xFF: А to я in alphabetical order.
    for (int i = 0; i < 64; ++i) t[64 + i] = char16_t(0x0410 + i);
    return t;
}();

}  // namespace

Windows1252CodePage::Windows1252CodePage(const QLocale& collationLocale)
    : TableCodePage(collationLocale, kWindows1252)
{
}

Windows1251CodePage::Windows1251CodePage(const QLocale& collationLocale)
    : TableCodePage(collationLocale, kWindows1251)
{
}

const CodePage& activeCodePage() { return *activeSlot(); }

void setActiveCodePage(std::shared_ptr<const CodePage> codePage)
{
    if (codePage) activeSlot() = std::move(codePage);
}

ScopedCodePage::ScopedCodePage(std::shared_ptr<const CodePage> codePage) : m_previous(activeSlot())
{
    setActiveCodePage(std::move(codePage));
}

ScopedCodePage::~ScopedCodePage() { activeSlot() = std::move(m_previous); }

}  // namespace quillon
