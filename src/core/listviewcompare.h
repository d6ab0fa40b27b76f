#pragma once

#include "codepage.h"
#include "contentsrows.h"
#include "searchrow.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// The two lists that share one row order: the folder contents and the search results.
enum class ListKind : std::uint8_t { Contents, Search };

// The sort column and direction. Both lists share one state, so a header click in one list decides the order of
// the other list's next sort; the column is an index into the columns of whichever list is sorted.
struct SortState {
    int column = 0;
    int direction = 1;

    // A header click: the same column again reverses the order, another column sorts ascending.
    void columnClicked(int index);
};

// What a row is compared by. Sizes and dates are the row's values, not its texts: the texts round (two dates
// hours apart, two sizes within half a megabyte read the same), which would make the order depend on them.
struct RowSortValues {
    int image = kFileImage;
    std::string_view name;
    std::string_view volume;
    std::string path;
    std::string media;
    // KB of a file or of a Space total; empty while the row shows "[SUB-DIR]".
    std::optional<std::int64_t> kb;
    DateTime date = 0;
};

RowSortValues sortValues(const ContentsRow& row);
RowSortValues sortValues(const SearchRow& row);

// Negative when a comes first. Rows are grouped by image first (volumes and folders before files) whatever the
// direction; within a group the sort column decides, times the direction. Text columns use the collation of
// the code page, case-sensitive. Rows showing "[SUB-DIR]" are equal to each other on the size column and come
// before rows showing a size. This is a strict weak ordering, as std::sort requires.
int ListViewCompare(const RowSortValues& a, const RowSortValues& b, ListKind kind, const SortState& sort,
                    const CodePage& codePage = activeCodePage());
int ListViewCompare(const ContentsRow& a, const ContentsRow& b, const SortState& sort,
                    const CodePage& codePage = activeCodePage());
int ListViewCompare(const SearchRow& a, const SearchRow& b, const SortState& sort,
                    const CodePage& codePage = activeCodePage());

// Sort in the order of ListViewCompare, with every row's key made once (collation keys for text columns).
// Rows that compare equal keep their relative order.
void sortRows(std::vector<ContentsRow>& rows, const SortState& sort, const CodePage& codePage = activeCodePage());
void sortRows(std::vector<SearchRow>& rows, const SortState& sort, const CodePage& codePage = activeCodePage());

}  // namespace quillon
