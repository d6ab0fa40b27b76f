#include "catalogtreemodel.h"

#include "codepage.h"
#include "imagelists.h"

namespace quillon {

CatalogTreeModel::CatalogTreeModel(Catalog& catalog, QObject* parent)
    : QAbstractItemModel(parent),
      m_catalog(catalog),
      m_images{catalogImage(0), catalogImage(1), catalogImage(2)} {}

CatalogNode* CatalogTreeModel::nodeAt(const QModelIndex& index) const {
    return index.isValid() ? static_cast<CatalogNode*>(index.internalPointer()) : nullptr;
}

QModelIndex CatalogTreeModel::indexOf(const CatalogNode* node) const {
    if (!node) return {};
    // The root's own row field is not a position under a parent: it is the model's single top row.
    const int row = node->level() == 0 ? 0 : node->row();
    return createIndex(row, 0, const_cast<CatalogNode*>(node));
}

QModelIndex CatalogTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || column != 0) return {};
    if (!parent.isValid()) return row == 0 ? indexOf(&m_catalog.root()) : QModelIndex();
    const CatalogNode* node = nodeAt(parent);
    if (parent.column() != 0 || std::size_t(row) >= node->childCount()) return {};
    return createIndex(row, 0, node->child(std::size_t(row)));
}

QModelIndex CatalogTreeModel::parent(const QModelIndex& child) const {
    const CatalogNode* node = nodeAt(child);
    return node ? indexOf(node->parent()) : QModelIndex();
}

int CatalogTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) return 1;
    if (parent.column() != 0) return 0;
    return int(nodeAt(parent)->childCount());
}

int CatalogTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant CatalogTreeModel::data(const QModelIndex& index, int role) const {
    const CatalogNode* node = nodeAt(index);
    if (!node) return {};
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return activeCodePage().toUnicode(node->text());
        case Qt::DecorationRole:
            return m_images[std::size_t(node->image())];
        case ImageRole:
            return node->image();
        default:
            return {};
    }
}

Qt::ItemFlags CatalogTreeModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

}  // namespace quillon
