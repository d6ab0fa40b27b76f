#pragma once

#include "rowtablemodel.h"

namespace quillon {

// The rows of the search results list: the hits of the last search run, with their volume and inner path.
class SearchResultsModel final : public RowTableModel<SearchRow> {
public:
    explicit SearchResultsModel(QObject* parent = nullptr) : RowTableModel(parent) {}
    Q_DISABLE_COPY_MOVE(SearchResultsModel)

    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : kSearchColumnCount;
    }
    QString text(const SearchRow& row, int column) const override;
    void columnAdvances(TextAdvances& advances, std::vector<std::vector<double>>& sums) const override;

protected:
    QString columnTitle(int column) const override;
    int sizeColumn() const override { return kSizeColumn; }
};

}  // namespace quillon
