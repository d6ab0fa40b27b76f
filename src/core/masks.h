#pragma once

#include "codepage.h"

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// Raised when a mask text cannot be compiled. The message is the one users see in the error box:
// "'<mask>' is an invalid mask at (<position>)".
class EMaskException final : public std::runtime_error {
public:
    EMaskException(std::string_view mask, std::size_t position);

    const std::string& mask() const { return m_mask; }
    // 1-based byte position in the mask at which compiling stopped; the mask's length plus 1 when it ran out.
    std::size_t position() const { return m_position; }

private:
    std::string m_mask;
    std::size_t m_position;
};

// A compiled wildcard mask: literal characters, "?" for one character, "*" for any run of characters and
// character sets in "[...]" with "!" for negation and "-" for ranges. Only a to z match without regard to
// case. Names and masks are byte strings in the code page given at construction; a character that takes
// several bytes there is one character everywhere ("?", a skip step, a literal), never split. Sets hold
// single-byte characters only: a multi-byte character written in a set adds nothing, and one in a name is
// never in a set (so only a negated set takes it). A range that ends in a multi-byte character runs to its
// first byte.
//
// Compiled once, a mask tests any number of names without allocating. Matching never backtracks over more
// than the most recent "*", so its cost stays within name length times mask length whatever the mask.
class TMask final {
public:
    // At most this many elements of one mask may follow a "*". Earlier versions of the program refused masks
    // with more, and a mask should be valid or invalid the same in every version.
    static constexpr int kMaxSkips = 30;

    // How matches() goes about its work; the result never depends on it. Masks of the common shapes are
    // tested with plain byte comparisons instead of the general element-by-element walk.
    enum class Strategy : std::uint8_t {
        General,
        Exact,      // literals only: «abc»
        Prefix,     // «abc*», and «*» itself
        Suffix,     // «*.mp3»
        Contains,   // «*abc*»
        SetPrefix,  // «[a-c]*»
    };

    // Throws EMaskException for an invalid mask. The code page must outlive the mask.
    explicit TMask(std::string_view mask, const CodePage& codePage = activeCodePage());

    // True when the whole name fits the mask. Any name, the empty one included, gives an answer.
    bool matches(std::string_view name) const;

    Strategy strategy() const { return m_strategy; }

private:
    enum class Kind : std::uint8_t { Literal, MultiByteLiteral, AnyChar, CharSet, EndOfName };
    // Code pages whose characters the matcher can tell without asking: every byte is one in a single-byte
    // page, every byte below 0x80 in UTF-8.
    enum class PageKind : std::uint8_t { SingleByte, Utf8, Other };

    struct Element {
        Kind kind = Kind::EndOfName;
        // A run of "*" stands before the element.
        bool skip = false;
        bool negate = false;
        // Literal: the upper-cased byte. Multi-byte literal: offset and length of its bytes in
        // m_literalBytes. Character set: index of its codes in m_sets.
        unsigned char byte = 0;
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
    };

    void compile(std::string_view mask);
    void addElement(Element element, std::string_view mask, std::size_t position);
    void chooseStrategy();

    bool matchesGeneral(std::string_view name) const;
    // The first position from pos on where the element, which follows a "*", could match; at most name's
    // length.
    std::size_t nextCandidate(const Element& element, std::string_view name, std::size_t pos) const;
    // Byte length of the element's match at pos, or 0 when it does not match there. EndOfName never gets
    // here.
    std::size_t matchLength(const Element& element, std::string_view name, std::size_t pos) const;
    bool setMatches(const Element& element, std::string_view name, std::size_t pos, std::size_t length) const;
    bool literalAt(std::string_view name, std::size_t pos) const;
    // The code page's character length, without its virtual call for the characters known to take one byte.
    std::size_t charLength(std::string_view s, std::size_t pos) const
    {
        if (m_pageKind == PageKind::SingleByte) return 1;
        if (m_pageKind == PageKind::Utf8 && static_cast<unsigned char>(s[pos]) < 0x80) return 1;
        return m_codePage->charLength(s, pos);
    }

    const CodePage* m_codePage;
    PageKind m_pageKind = PageKind::Other;
    std::vector<Element> m_elements;
    std::vector<std::bitset<256>> m_sets;
    std::string m_literalBytes;
    int m_skipCount = 0;

    Strategy m_strategy = Strategy::General;
    // The concatenated literal of the byte-comparison strategies, upper-cased (a to z only).
    std::string m_literal;
};

}  // namespace quillon
