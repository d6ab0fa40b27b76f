#pragma once

#include <QCollator>
#include <QLocale>
#include <QString>

#include <array>
#include <cstdint>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace quillon {

// The code page that catalog texts are stored in. Catalog files hold names as plain bytes in the encoding of
// the system that made them; every comparison, case fold and conversion of such bytes goes through here, so
// tests can fix the encoding and the collation locale. In UTF-8 a multi-byte character takes the part that a
// double-byte character has in the old East Asian code pages: it is one character, never split.
class CodePage {
public:
    explicit CodePage(const QLocale& collationLocale);
    virtual ~CodePage() = default;
    CodePage(const CodePage&) = delete;
    CodePage& operator=(const CodePage&) = delete;

    virtual std::string_view name() const = 0;

    // Byte length of the character that starts at s[pos]: 1 for a single-byte character and for a byte that does
    // not start a complete, valid multi-byte sequence. Never reaches past the end of s. pos must be < s.size().
    virtual std::size_t charLength(std::string_view s, std::size_t pos) const = 0;

    // All letters upper-cased. The result has the same byte length as the input and characters stay at the
    // same byte positions, so positions found in a folded text hold in the original.
    virtual std::string upper(std::string_view s) const = 0;

    // Only the letters a to z upper-cased; every other byte unchanged.
    static std::string upperAscii(std::string_view s);
    static char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

    virtual QString toUnicode(std::string_view s) const = 0;
    // Characters the code page cannot hold become "?".
    virtual std::string fromUnicode(const QString& s) const = 0;

    // Locale-aware, case-sensitive order: negative when a sorts first, 0 when equal, positive otherwise.
    int compare(std::string_view a, std::string_view b) const;
    // A key that sorts as compare() does; for sorting many texts.
    QCollatorSortKey sortKey(std::string_view s) const;
    // Equality without regard to letter case (all letters).
    bool equalsNoCase(std::string_view a, std::string_view b) const;

    // Byte keys for texts made only of printable ASCII (0x20 to 0x7E): compared as byte strings (shorter first
    // on a common prefix) they sort exactly as the keys of sortKey() do, equal keys included, and they cost a
    // fraction of a collation key to make and compare. The tables behind them are read from the collator on the
    // first call and then checked against it on every one- and two-character text and a few thousand mixed
    // texts; a collation that orders such texts in a way the keys cannot follow (letter pairs that sort as one
    // letter, ignored punctuation, accent orders read backwards) fails the check and leaves them unusable.
    bool hasAsciiKeys() const;
    static bool isPrintableAscii(std::string_view s);
    // Length of the key of a text of n characters.
    static std::size_t asciiKeyLength(std::size_t n) { return 2 * n + 1; }
    // Writes the key of s, asciiKeyLength(s.size()) bytes, to out. Only when hasAsciiKeys() and
    // isPrintableAscii(s).
    void writeAsciiKey(std::string_view s, unsigned char* out) const;
    // Eight bytes of the key of s from offset on, the first in the high byte, zeros past the key's end. No key
    // is the start of a longer one, so comparing these chunks in turn orders texts as their keys do, and two
    // texts whose chunks agree up to the end of either key have equal keys. Only when hasAsciiKeys() and
    // isPrintableAscii(s).
    std::uint64_t asciiKeyChunk(std::string_view s, std::size_t offset) const;
    // The first count chunks of the key of s (count at most 8), read in one pass over s, which also finds out
    // whether s is printable ASCII; false, with chunks unspecified, if it is not. Only when hasAsciiKeys().
    bool firstAsciiKeyChunks(std::string_view s, std::uint64_t* chunks, std::size_t count) const;

    QLocale collationLocale() const { return m_collator.locale(); }

private:
    // For each printable ASCII character (index c - 0x20): the rank of its letter ignoring case and similar
    // differences (from 1), and its rank among the characters of that same rank (from 0).
    struct AsciiTables {
        bool usable = false;
        std::array<unsigned char, 95> primary{};
        std::array<unsigned char, 95> tertiary{};
    };
    AsciiTables makeAsciiTables() const;
    static void writeKey(const AsciiTables& tables, std::string_view s, unsigned char* out);

    QCollator m_collator;
    mutable std::once_flag m_asciiOnce;
    mutable AsciiTables m_ascii;
};

class Utf8CodePage final : public CodePage {
public:
    explicit Utf8CodePage(const QLocale& collationLocale = QLocale::system()) : CodePage(collationLocale) {}
    std::string_view name() const override { return "UTF-8"; }
    std::size_t charLength(std::string_view s, std::size_t pos) const override;
    std::string upper(std::string_view s) const override;
    QString toUnicode(std::string_view s) const override;
    std::string fromUnicode(const QString& s) const override;
};

// A single-byte code page given by the Unicode value of each byte.
class TableCodePage : public CodePage {
public:
    std::size_t charLength(std::string_view, std::size_t) const override { return 1; }
    std::string upper(std::string_view s) const override;
    QString toUnicode(std::string_view s) const override;
    std::string fromUnicode(const QString& s) const override;

protected:
    TableCodePage(const QLocale& collationLocale, const std::array<char16_t, 128>& upperHalf);

private:
    std::array<char16_t, 256> m_toUnicode{};
    std::array<unsigned char, 256> m_upper{};
};

// Windows-1252, the Western code page of catalogs made on Windows.
class Windows1252CodePage final : public TableCodePage {
public:
    explicit Windows1252CodePage(const QLocale& collationLocale = QLocale::system());
    std::string_view name() const override { return "windows-1252"; }
};

// Windows-1251, the Cyrillic code page of catalogs made on Windows.
class Windows1251CodePage final : public TableCodePage {
public:
    explicit Windows1251CodePage(const QLocale& collationLocale = QLocale::system());
    std::string_view name() const override { return "windows-1251"; }
};

// The code page in force: UTF-8 with the system locale's collation unless replaced.
const CodePage& activeCodePage();
void setActiveCodePage(std::shared_ptr<const CodePage> codePage);

// Replaces the active code page for the lifetime of the object (tests, tools reading Windows catalogs).
class ScopedCodePage final {
public:
    explicit ScopedCodePage(std::shared_ptr<const CodePage> codePage);
    ~ScopedCodePage();
    ScopedCodePage(const ScopedCodePage&) = delete;
    ScopedCodePage& operator=(const ScopedCodePage&) = delete;

private:
    std::shared_ptr<const CodePage> m_previous;
};

}  // namespace quillon
