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
    // The advance sum of every text of a column (TextAdvances::sum over cellText(row, column)), in row order;
    // sums is resized to the row count. Cheaper than making the texts where a model can sum them from its
    // records.
    virtual void columnAdvances(int column, TextAdvances& advances, std::vector<double>& sums) const = 0;

protected:
    CellTexts() = default;
    CellTexts(const CellTexts&) = default;
    CellTexts& operator=(const CellTexts&) = default;
};

}  // namespace quillon
