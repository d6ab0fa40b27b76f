#pragma once

#include "codepage.h"
#include "localeformat.h"
#include "searchcriteria.h"
#include "searchrow.h"
#include "status.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// The plain-text report of a search: the criteria as the controls show them when saving, the rows in the order
// the view shows them in padded columns, and the two status texts. Texts are bytes of the code page.
class SearchReport final {
public:
    using RowTexts = std::array<std::string, kSearchColumnCount>;

    static constexpr std::string_view kRule = "----------------------------------------";
    // Between the two status texts of the summary line.
    static constexpr std::string_view kSummaryGap = "         ";

    // The lines without their line ends. Column widths count characters, a multi-byte character as one.
    static std::vector<std::string> lines(const SearchCriteria& criteria, std::string_view lookIn,
                                          const std::vector<RowTexts>& rows, std::string_view volumesStatus,
                                          std::string_view matchesStatus, const LocaleFormat& format,
                                          const CodePage& codePage = activeCodePage());
    // The lines each ended by CR LF, the last one included.
    static std::string text(const std::vector<std::string>& lines);
    // Creates or replaces the file. Fails with "Cannot create file <path>" when the file cannot be created.
    static Status write(const std::string& path, const std::vector<std::string>& lines);
};

}  // namespace quillon
