#pragma once

#include "listviewcompare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace quillon {

// Sorts rows as the lists do and checks the order against a stable sort by the row comparison: the same row
// in every place, ties in their first order. what names the case in the failure message.
inline void expectRowsSortedStably(const std::vector<ContentsRow>& rows, const SortState& sort,
                                   const std::string& what)
{
    std::vector<ContentsRow> sorted = rows;
    sortRows(sorted, sort);
    std::vector<ContentsRow> expected = rows;
    std::stable_sort(expected.begin(), expected.end(), [&](const ContentsRow& a, const ContentsRow& b) {
        return ListViewCompare(a, b, sort) < 0;
    });
    ASSERT_EQ(sorted.size(), expected.size()) << what;
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        ASSERT_TRUE(sorted[i].file == expected[i].file && sorted[i].node == expected[i].node &&
                    sorted[i].totalKB == expected[i].totalKB)
            << what << ", column " << sort.column << ", direction " << sort.direction << ", row " << i << ": "
            << sorted[i].name() << " where " << expected[i].name() << " belongs";
    }
}

}  // namespace quillon
