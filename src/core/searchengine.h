#pragma once

#include "catalog.h"
#include "codepage.h"
#include "containedtext.h"
#include "masks.h"
#include "searchcriteria.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

// Answers whether a catalog entry satisfies the search criteria. The name pattern, the artist and the title
// are prepared once per text, not once per entry: the mask is compiled when the pattern changes, and the
// answers are those of compiling it afresh for every entry. That includes an invalid mask, which fails the
// test of the first entry (and only then), so a run over nothing reports no error.
class SearchEngine final {
public:
    // The code page must outlive the engine.
    explicit SearchEngine(const CodePage& codePage = activeCodePage());
    explicit SearchEngine(const SearchCriteria& criteria, const CodePage& codePage = activeCodePage());

    // Decides the name mode at the start of a run: an empty pattern becomes "*"; the result is true (a mask)
    // when the pattern holds "*" or "?", false (a contained text) otherwise. "[" alone makes no mask.
    static bool ChooseNameMode(std::string& pattern);

    // Takes the criteria the controls hold now; entries tested from now on are tested against them.
    void setCriteria(const SearchCriteria& criteria);
    const SearchCriteria& criteria() const { return m_criteria; }

    // Both throw EMaskException when the name criterion is an invalid mask.
    bool MatchFileEntry(const TFileData& file) const;
    // The media info criterion does not apply to folders; the size criterion, when on, rejects every folder.
    bool MatchFolderEntry(DateTime date, std::string_view name) const;

    bool nameFits(std::string_view name) const;
    bool dateFits(DateTime date) const;

private:
    void preparePattern();

    const CodePage* m_codePage;
    SearchCriteria m_criteria;
    std::unique_ptr<TMask> m_mask;
    std::optional<EMaskException> m_maskError;
    std::optional<ContainedText> m_nameText;
    ContainedText m_artist;
    ContainedText m_title;
    bool m_preparedUseMask = true;
    bool m_prepared = false;
};

// Compiles the mask and tests the name with it; throws EMaskException for an invalid mask.
bool FitsMask(std::string_view name, std::string_view mask, const CodePage& codePage = activeCodePage());

}  // namespace quillon
