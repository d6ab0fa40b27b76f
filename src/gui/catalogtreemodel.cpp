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
    const CatalogNode* node = nodeAt(index);
    if (!node) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (m_editing && node->level() == 1) flags |= Qt::ItemIsEditable;
    return flags;
}

bool CatalogTreeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    CatalogNode* node = nodeAt(index);
    if (role != Qt::EditRole || !node || node->level() != 1 || !m_editing) return false;
    QString name = value.toString();
    if (m_edited) m_edited(node, name);
    std::string bytes = activeCodePage().fromUnicode(name);
    if (bytes == node->text()) return false;
    renameVolume(node, std::move(bytes));
    return true;
}

void CatalogTreeModel::renameVolume(CatalogNode* volume, std::string name) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<CatalogNode*> nodes;
    nodes.reserve(std::size_t(before.size()));
    for (const QModelIndex& index : before) nodes.push_back(nodeAt(index));
    m_catalog.renameVolume(volume, std::move(name));
    QModelIndexList after;
    after.reserve(before.size());
    for (CatalogNode* node : nodes) after << indexOf(node);
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void CatalogTreeModel::removeNode(CatalogNode* node, const std::function<void()>& removal) {
    const QModelIndex parent = indexOf(node->parent());
    beginRemoveRows(parent, node->row(), node->row());
    removal();
    endRemoveRows();
}

}  // namespace quillon
