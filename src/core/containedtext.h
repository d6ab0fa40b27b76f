#pragma once

#include "codepage.h"

#include <array>
#include <string>
#include <string_view>

namespace quillon {

// The contained-text test with its needle prepared once: does a text contain the needle when both have all
// their letters upper-cased (every letter of the code page, not only a to z)? A match never starts inside a
// multi-byte character, and an empty text or an empty needle never counts as contained.
//
// Searching millions of names allocates nothing where a byte table decides the fold exactly: single-byte code
// pages, and UTF-8 needles made of ASCII only (a folded multi-byte character never turns into ASCII bytes, so
// only ASCII bytes of a name can meet such a needle). Other needles fold each name through the code page.
class ContainedText final {
public:
    // The code page must outlive the object.
    explicit ContainedText(std::string_view needle, const CodePage& codePage = activeCodePage());

    bool foundIn(std::string_view text) const;

    const std::string& needle() const { return m_needle; }

private:
    bool foundByTable(std::string_view text) const;
    bool foundByFolding(std::string_view text) const;

    const CodePage* m_codePage;
    std::string m_needle;
    // The needle upper-cased: through the table where it applies, through the code page otherwise.
    std::string m_folded;
    std::array<unsigned char, 256> m_fold{};
    bool m_byTable = false;
};

// The contained-text test for one pair of texts.
bool containsText(std::string_view text, std::string_view needle, const CodePage& codePage = activeCodePage());

}  // namespace quillon
