#include "masks.h"

#include <optional>

namespace quillon {

namespace {

std::string invalidMaskMessage(std::string_view mask, std::size_t position)
{
    std::string text;
    text.reserve(mask.size() + 40);
    text += '\'';
    text += mask;
    text += "' is an invalid mask at (";
    text += std::to_string(position);
    text += ')';
    return text;
}

unsigned char upperByte(char c) { return static_cast<unsigned char>(CodePage::upperAscii(c)); }

}  // namespace

EMaskException::EMaskException(std::string_view mask, std::size_t position)
    : std::runtime_error(invalidMaskMessage(mask, position)), m_mask(mask), m_position(position)
{}

TMask::TMask(std::string_view mask, const CodePage& codePage) : m_codePage(&codePage)
{
    if (dynamic_cast<const TableCodePage*>(m_codePage)) {
        m_pageKind = PageKind::SingleByte;
    } else if (dynamic_cast<const Utf8CodePage*>(m_codePage)) {
        m_pageKind = PageKind::Utf8;
    }
    compile(mask);
    chooseStrategy();
}

void TMask::addElement(Element element, std::string_view mask, std::size_t position)
{
    if (element.skip && ++m_skipCount > kMaxSkips) throw EMaskException(mask, position);
    m_elements.push_back(element);
}

void TMask::compile(std::string_view mask)
{
    const std::size_t n = mask.size();
    bool skip = false;
    std::size_t i = 0;
    while (i < n) {
        const std::size_t len = charLength(mask, i);
        if (len > 1) {
            Element e{.kind = Kind::MultiByteLiteral, .skip = skip};
            e.offset = std::uint32_t(m_literalBytes.size());
            e.length = std::uint32_t(len);
            m_literalBytes.append(mask.substr(i, len));
            addElement(e, mask, i + 1);
            skip = false;
            i += len;
            continue;
        }
        const char c = mask[i];
        if (c == '*') {
            skip = true;
            ++i;
        } else if (c == '?') {
            // A "?" after a "*" is dropped: the pending skip already covers it, so «*?» is «*» and «a*?» fits
            // «a». Earlier versions of the program matched this way, and a mask should find the same names.
            if (!skip) addElement(Element{.kind = Kind::AnyChar}, mask, i + 1);
            ++i;
        } else if (c == '[') {
            std::size_t j = i + 1;
            bool negate = false;
            if (j < n && mask[j] == '!') {
                negate = true;
                ++j;
            }
            std::bitset<256> codes;
            // The lower end of a range is the last single character read, never the upper end of a range.
            std::optional<unsigned char> last;
            for (;;) {
                if (j >= n) throw EMaskException(mask, n + 1);
                const std::size_t charLen = charLength(mask, j);
                if (charLen > 1) {
                    // Sets hold single-byte codes only; a multi-byte character in a set adds nothing.
                    j += charLen;
                    continue;
                }
                const char sc = mask[j];
                if (sc == ']') break;
                if (sc == '-') {
                    if (!last) throw EMaskException(mask, j + 1);
                    ++j;
                    // The character after "-" always ends the range, even a "]".
                    if (j >= n) throw EMaskException(mask, n + 1);
                    const unsigned high = upperByte(mask[j]);
                    for (unsigned code = *last; code <= high; ++code) codes.set(code);
                    j += charLength(mask, j);
                    continue;
                }
                last = upperByte(sc);
                codes.set(*last);
                ++j;
            }
            if (codes.none()) throw EMaskException(mask, j + 1);
            Element e{.kind = Kind::CharSet, .skip = skip, .negate = negate};
            e.offset = std::uint32_t(m_sets.size());
            m_sets.push_back(codes);
            addElement(e, mask, j + 1);
            skip = false;
            i = j + 1;
        } else {
            addElement(Element{.kind = Kind::Literal, .skip = skip, .byte = upperByte(c)}, mask, i + 1);
            skip = false;
            ++i;
        }
    }
    addElement(Element{.kind = Kind::EndOfName, .skip = skip}, mask, n + 1);
}

void TMask::chooseStrategy()
{
    const std::size_t literals = m_elements.size() - 1;
    const Element& end = m_elements.back();

    if (literals == 1 && m_elements[0].kind == Kind::CharSet && !m_elements[0].skip && end.skip) {
        m_strategy = Strategy::SetPrefix;
        return;
    }

    // Byte comparison gives the same answer as the character walk only where a match found between bytes
    // always starts on a character boundary: in single-byte code pages, and in UTF-8 as long as every
    // single-byte literal is ASCII (an ASCII byte or a lead byte never continues another character).
    const bool utf8 = m_pageKind == PageKind::Utf8;
    if (m_pageKind == PageKind::Other) return;

    std::string literal;
    for (std::size_t k = 0; k < literals; ++k) {
        const Element& e = m_elements[k];
        if (k > 0 && e.skip) return;
        if (e.kind == Kind::Literal) {
            if (utf8 && e.byte >= 0x80) return;
            literal += char(e.byte);
        } else if (e.kind == Kind::MultiByteLiteral) {
            literal.append(m_literalBytes, e.offset, e.length);
        } else {
            return;
        }
    }
    const bool leadingSkip = literals > 0 && m_elements[0].skip;
    if (leadingSkip) {
        m_strategy = end.skip ? Strategy::Contains : Strategy::Suffix;
    } else {
        m_strategy = end.skip ? Strategy::Prefix : Strategy::Exact;
    }
    m_literal = std::move(literal);
}

bool TMask::literalAt(std::string_view name, std::size_t pos) const
{
    if (pos > name.size() || name.size() - pos < m_literal.size()) return false;
    for (std::size_t k = 0; k < m_literal.size(); ++k) {
        if (upperByte(name[pos + k]) != static_cast<unsigned char>(m_literal[k])) return false;
    }
    return true;
}

bool TMask::matches(std::string_view name) const
{
    switch (m_strategy) {
    case Strategy::Exact:
        return name.size() == m_literal.size() && literalAt(name, 0);
    case Strategy::Prefix:
        return literalAt(name, 0);
    case Strategy::Suffix:
        return name.size() >= m_literal.size() && literalAt(name, name.size() - m_literal.size());
    case Strategy::Contains: {
        if (name.size() < m_literal.size()) return false;
        const std::size_t lastStart = name.size() - m_literal.size();
        const unsigned char first = static_cast<unsigned char>(m_literal[0]);
        for (std::size_t pos = 0; pos <= lastStart; ++pos) {
            if (upperByte(name[pos]) == first && literalAt(name, pos)) return true;
        }
        return false;
    }
    case Strategy::SetPrefix:
        return !name.empty() && setMatches(m_elements[0], name, 0, charLength(name, 0));
    case Strategy::General:
        break;
    }
    return matchesGeneral(name);
}

bool TMask::setMatches(const Element& element, std::string_view name, std::size_t pos,
                       std::size_t length) const
{
    // A multi-byte character is never in a set, so only a negated set takes it.
    const bool inSet = length == 1 && m_sets[element.offset].test(upperByte(name[pos]));
    return inSet != element.negate;
}

std::size_t TMask::matchLength(const Element& element, std::string_view name, std::size_t pos) const
{
    const std::size_t len = charLength(name, pos);
    switch (element.kind) {
    case Kind::Literal:
        return len == 1 && upperByte(name[pos]) == element.byte ? 1 : 0;
    case Kind::MultiByteLiteral: {
        const std::string_view bytes =
            std::string_view(m_literalBytes).substr(element.offset, element.length);
        return len == bytes.size() && name.substr(pos, len) == bytes ? len : 0;
    }
    case Kind::AnyChar:
        return len;
    case Kind::CharSet:
        return setMatches(element, name, pos, len) ? len : 0;
    case Kind::EndOfName:
        break;
    }
    return 0;
}

std::size_t TMask::nextCandidate(const Element& element, std::string_view name, std::size_t pos) const
{
    // An ASCII byte is a whole character wherever it stands in these code pages, so the search for a literal
    // that follows a "*" can pass over the bytes that differ from it without walking the characters.
    if (element.kind != Kind::Literal || element.byte >= 0x80 || m_pageKind == PageKind::Other) return pos;
    while (pos < name.size() && upperByte(name[pos]) != element.byte) ++pos;
    return pos;
}

// Elements match one character each, so leftmost placement is always safe: when an element fails, only the
// most recent element with the skip flag needs to move on, never an earlier one. That keeps the walk within
// name length times mask length, where trying every combination of skips would be exponential in the number
// of "*".
bool TMask::matchesGeneral(std::string_view name) const
{
    constexpr std::size_t kNone = std::size_t(-1);
    const std::size_t n = name.size();
    std::size_t e = 0;
    std::size_t pos = 0;
    std::size_t retryElement = kNone;
    std::size_t retryPos = 0;
    for (;;) {
        const Element& element = m_elements[e];
        if (element.kind == Kind::EndOfName) {
            if (element.skip || pos == n) return true;
        } else {
            if (element.skip) {
                pos = nextCandidate(element, name, pos);
                retryElement = e;
                retryPos = pos;
            }
            if (pos < n) {
                if (const std::size_t len = matchLength(element, name, pos)) {
                    pos += len;
                    ++e;
                    continue;
                }
            }
        }
        if (retryElement == kNone || retryPos >= n) return false;
        retryPos = nextCandidate(m_elements[retryElement], name, retryPos + charLength(name, retryPos));
        e = retryElement;
        pos = retryPos;
    }
}

}  // namespace quillon
