#include "containedtext.h"

namespace quillon {

namespace {

bool isAscii(std::string_view s)
{
    for (const char c : s) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

}  // namespace

ContainedText::ContainedText(std::string_view needle, const CodePage& codePage)
    : m_codePage(&codePage), m_needle(needle)
{
    if (dynamic_cast<const TableCodePage*>(&codePage)) {
        // One byte is one character, so folding byte by byte is the code page's own fold.
        std::string all(256, '\0');
        for (int i = 0; i < 256; ++i) all[std::size_t(i)] = char(i);
        const std::string upper = codePage.upper(all);
        for (int i = 0; i < 256; ++i) m_fold[std::size_t(i)] = static_cast<unsigned char>(upper[std::size_t(i)]);
        m_byTable = true;
    } else if (dynamic_cast<const Utf8CodePage*>(&codePage) && isAscii(needle)) {
        for (int i = 0; i < 256; ++i) m_fold[std::size_t(i)] = static_cast<unsigned char>(CodePage::upperAscii(char(i)));
        m_byTable = true;
    }
    if (m_byTable) {
        m_folded.resize(needle.size());
        for (std::size_t i = 0; i < needle.size(); ++i) {
            m_folded[i] = char(m_fold[static_cast<unsigned char>(needle[i])]);
        }
    } else {
        m_folded = codePage.upper(needle);
    }
}

bool ContainedText::foundIn(std::string_view text) const
{
    if (m_folded.empty() || text.size() < m_folded.size()) return false;
    return m_byTable ? foundByTable(text) : foundByFolding(text);
}

bool ContainedText::foundByTable(std::string_view text) const
{
    const auto* t = reinterpret_cast<const unsigned char*>(text.data());
    const auto* f = reinterpret_cast<const unsigned char*>(m_folded.data());
    const std::size_t m = m_folded.size();
    const std::size_t last = text.size() - m;
    const unsigned char first = f[0];
    for (std::size_t i = 0; i <= last; ++i) {
        if (m_fold[t[i]] != first) continue;
        std::size_t k = 1;
        while (k < m && m_fold[t[i + k]] == f[k]) ++k;
        if (k == m) return true;
    }
    return false;
}

bool ContainedText::foundByFolding(std::string_view text) const
{
    // A needle with a non-ASCII character cannot be found in pure ASCII, whose fold stays ASCII.
    if (isAscii(text) && !isAscii(m_folded)) return false;
    const std::string folded = m_codePage->upper(text);
    const std::size_t m = m_folded.size();
    for (std::size_t i = 0; i + m <= folded.size(); i += m_codePage->charLength(text, i)) {
        if (folded.compare(i, m, m_folded) == 0) return true;
    }
    return false;
}

bool containsText(std::string_view text, std::string_view needle, const CodePage& codePage)
{
    return ContainedText(needle, codePage).foundIn(text);
}

}  // namespace quillon
