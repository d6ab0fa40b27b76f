#pragma once

#include <QString>

namespace quillon {

// The display text of a cell without a model index or a QVariant around it, for code that reads every cell of
// a long list (the column resize).
class CellTexts {
public:
    virtual ~CellTexts() = default;
    virtual QString cellText(int row, int column) const = 0;

protected:
    CellTexts() = default;
    CellTexts(const CellTexts&) = default;
    CellTexts& operator=(const CellTexts&) = default;
};

}  // namespace quillon
