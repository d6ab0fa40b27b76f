#include "codepage.h"

#include <utility>

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
