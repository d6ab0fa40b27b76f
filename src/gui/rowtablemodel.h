#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "celltexts.h"
#include "imagelists.h"
#include "listviewcompare.h"
#include "localeformat.h"
#include "textadvances.h"

namespace quillon {

inline const void* rowKey(const ContentsRow& row) {
    return row.node ? static_cast<const void*>(row.node) : row.file;
}
inline const void* rowKey(const SearchRow& row) {
    return row.file ? static_cast<const void*>(row.file) : row.folder;
}
// The advance sum of a row's size text: its file's size, the total that Space put in, or "[SUB-DIR]" (whose sum
// is subDir).
template <class Row>
double sizeTextAdvance(const Row& row, LocaleFormat::Advances& format, double subDir) {
    if (row.file) return format.sizeText(row.file->SizeKB);
    if (row.totalKB >= 0) return format.sizeText(row.totalKB);
    return subDir;
}
inline int rowImage(const ContentsRow& row) {
    return row.image;
}
inline int rowImage(const SearchRow& row) {
    return row.image();
}

// A flat list of plain row structs that refer to catalog records. Display texts are made only for the cells a
// view asks for, so a folder of a hundred thousand files costs one vector and one sort.
template <class Row>
class RowTableModel : public QAbstractTableModel, public CellTexts {
public:
    // The row's image index: 1 volume, 2 folder, 4 file.
    static constexpr int ImageRole = Qt::UserRole + 1;

    explicit RowTableModel(QObject* parent)
        : QAbstractTableModel(parent), m_images{catalogImage(0), catalogImage(1), catalogImage(2),
                                                catalogImage(3), catalogImage(4), catalogImage(5)} {}

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(m_rows.size());
    }

    const std::vector<Row>& rows() const { return m_rows; }
    const Row* rowAt(int row) const {
        return row >= 0 && std::size_t(row) < m_rows.size() ? &m_rows[row] : nullptr;
    }

    // The whole list is replaced at once: one reset instead of a signal per row.
    void setRows(std::vector<Row> rows) {
        beginResetModel();
        m_rows = std::move(rows);
        endResetModel();
    }
    void clear() { setRows({}); }
    // Rows found while a list fills, one insertion per batch.
    void appendRows(const std::vector<Row>& rows) {
        if (rows.empty()) return;
        const int first = int(m_rows.size());
        beginInsertRows({}, first, first + int(rows.size()) - 1);
        m_rows.insert(m_rows.end(), rows.begin(), rows.end());
        endInsertRows();
    }

    // Orders the rows by the shared comparison; selected and current rows follow their records.
    void sortBy(const SortState& sort) {
        reorder([&](std::vector<Row>& rows) { sortRows(rows, sort); });
    }
    // The same rows in an order made elsewhere (sorted on another thread); selected and current rows follow
    // their records.
    void setOrder(std::vector<Row> ordered) {
        reorder([&](std::vector<Row>& rows) { rows = std::move(ordered); });
    }

    // The total that Space puts in place of "[SUB-DIR]".
    void setTotal(int row, std::int64_t kb) {
        if (!rowAt(row)) return;
        m_rows[std::size_t(row)].totalKB = kb;
        emit dataChanged(index(row, 0), index(row, columnCount() - 1), {Qt::DisplayRole});
    }

    // The text of one cell as the list shows it.
    virtual QString text(const Row& row, int column) const = 0;
    QString cellText(int row, int column) const override {
        const Row* r = rowAt(row);
        return r ? text(*r, column) : QString();
    }
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override {
        const Row* row = index.isValid() ? rowAt(index.row()) : nullptr;
        if (!row) return {};
        switch (role) {
            case Qt::DisplayRole:
                return text(*row, index.column());
            case Qt::DecorationRole:
                if (index.column() == 0 && rowImage(*row) >= 0 &&
                    std::size_t(rowImage(*row)) < m_images.size())
                    return m_images[std::size_t(rowImage(*row))];
                return {};
            case Qt::TextAlignmentRole:
                return index.column() == sizeColumn() ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                                      : QVariant();
            case ImageRole:
                return rowImage(*row);
            default:
                return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override {
        if (orientation != Qt::Horizontal) return {};
        if (role == Qt::DisplayRole) return columnTitle(section);
        if (role == Qt::TextAlignmentRole && section == sizeColumn())
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

protected:
    virtual QString columnTitle(int column) const = 0;
    virtual int sizeColumn() const = 0;

    // sums[c][r] = the c-th of columnSums over row r, for every column and row, each row read once. The rows
    // of a sorted list lie scattered in memory, so the loop would mostly wait for them: each row's record is
    // fetched some rows early, and ahead(row) is called for the row a few places on to fetch what the sums
    // will read through the record (a name's bytes).
    template <class Ahead, class... Sums>
    void sumColumns(std::vector<std::vector<double>>& sums, Ahead ahead, Sums... columnSums) const {
        constexpr std::size_t kRecordsAhead = 16;
        constexpr std::size_t kTextsAhead = 8;
        const std::size_t count = m_rows.size();
        sums.resize(sizeof...(Sums));
        for (std::vector<double>& column : sums) column.resize(count);
        std::array<double*, sizeof...(Sums)> to{};
        for (std::size_t c = 0; c < to.size(); ++c) to[c] = sums[c].data();
        for (std::size_t r = 0; r < count; ++r) {
            if (r + kRecordsAhead < count) __builtin_prefetch(rowKey(m_rows[r + kRecordsAhead]));
            if (r + kTextsAhead < count) ahead(m_rows[r + kTextsAhead]);
            const Row& row = m_rows[r];
            std::size_t c = 0;
            ((to[c++][r] = columnSums(row)), ...);
        }
    }

private:
    // Lets order(rows) put the rows in a new order, telling the views, whose persistent indexes follow the
    // records they refer to.
    template <class Order>
    void reorder(Order order) {
        emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
        const QModelIndexList before = persistentIndexList();
        std::vector<const void*> keys;
        keys.reserve(std::size_t(before.size()));
        for (const QModelIndex& index : before) keys.push_back(rowKey(m_rows[std::size_t(index.row())]));
        order(m_rows);
        if (!before.isEmpty()) {
            // Only the few rows that persistent indexes refer to are looked for, in one pass over the new order.
            std::unordered_map<const void*, int> rowOf;
            for (const void* key : keys) rowOf.emplace(key, -1);
            for (std::size_t i = 0; i < m_rows.size(); ++i) {
                const auto found = rowOf.find(rowKey(m_rows[i]));
                if (found != rowOf.end() && found->second < 0) found->second = int(i);
            }
            QModelIndexList after;
            after.reserve(before.size());
            for (qsizetype i = 0; i < before.size(); ++i) {
                const int row = rowOf.at(keys[std::size_t(i)]);
                after.push_back(row < 0 ? QModelIndex() : index(row, before[i].column()));
            }
            changePersistentIndexList(before, after);
        }
        emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    }

    std::vector<Row> m_rows;
    std::array<QIcon, 6> m_images;
};

}  // namespace quillon
