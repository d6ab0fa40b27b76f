#pragma once

#include <QAbstractItemModel>
#include <QIcon>
#include <array>

#include "catalog.h"

namespace quillon {

// The catalog tree "My Catalogs" > volumes > folders, straight over the nodes of the core catalog: an index
// carries its node as internal pointer, so the model keeps no item of its own per folder.
class CatalogTreeModel final : public QAbstractItemModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CatalogTreeModel)

public:
    // The image index (0 root, 1 volume, 2 folder) for tests and the path box.
    static constexpr int ImageRole = Qt::UserRole + 1;

    explicit CatalogTreeModel(Catalog& catalog, QObject* parent = nullptr);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    CatalogNode* nodeAt(const QModelIndex& index) const;
    QModelIndex indexOf(const CatalogNode* node) const;
    QModelIndex rootIndex() const { return index(0, 0); }

    // A reload replaces every volume, so views drop all indexes and start over.
    void beginReload() { beginResetModel(); }
    void endReload() { endResetModel(); }

private:
    Catalog& m_catalog;
    std::array<QIcon, 3> m_images;
};

}  // namespace quillon
