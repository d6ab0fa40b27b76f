#pragma once

#include <QString>
#include <vector>

namespace quillon {

class TextAdvances;

// The display text of a cell without a model index or a QVariant around it, for code that reads every cell of
// a long list (the column resize).
class CellTexts {
public:
    virtual ~CellTexts() = default;
    virtual QString cellText(int row, int column) const = 0;
    // The advance sum of every text of every column: sums[column][row] is TextAdvances::sum over
    // cellText(row, column); sums is resized to the column count and each column to the row count. Cheaper
    // than making the texts where a model can sum them from its records, which it reads once for all columns.
    virtual void columnAdvances(TextAdvances& advances, std::vector<std::vector<double>>& sums) const = 0;

protected:
    CellTexts() = default;
    CellTexts(const CellTexts&) = default;
    CellTexts& operator=(const CellTexts&) = default;
};

}  // namespace quillon
