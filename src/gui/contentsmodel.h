#pragma once

#include "rowtablemodel.h"

namespace quillon {

// The rows of the folder contents list: one per child node, then one per file of the shown node.
class ContentsModel final : public RowTableModel<ContentsRow> {
public:
    enum Column { NameColumn, SizeColumn, ModifiedColumn, MediaColumn, ColumnCount };

    explicit ContentsModel(QObject* parent = nullptr) : RowTableModel(parent) {}
    Q_DISABLE_COPY_MOVE(ContentsModel)

    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : ColumnCount;
    }
    QString text(const ContentsRow& row, int column) const override;
    void columnAdvances(TextAdvances& advances, std::vector<std::vector<double>>& sums) const override;

protected:
    QString columnTitle(int column) const override;
    int sizeColumn() const override { return SizeColumn; }
};

}  // namespace quillon
