#pragma once

#include <QAbstractItemModel>
#include <QIcon>
#include <array>
#include <functional>
#include <string>

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
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    CatalogNode* nodeAt(const QModelIndex& index) const;
    QModelIndex indexOf(const CatalogNode* node) const;
    QModelIndex rootIndex() const { return index(0, 0); }

    // Volume labels are editable only while a rename is going on; the handler gets the typed name and may
    // set it back to refuse it. Whatever name it leaves becomes the volume's name.
    using EditHandler = std::function<void(CatalogNode* volume, QString& name)>;
    void setEditHandler(EditHandler handler) { m_edited = std::move(handler); }
    void setEditing(bool editing) { m_editing = editing; }
    bool editing() const { return m_editing; }

    // Gives a volume another name and moves it to its place, keeping the views' indexes on their nodes.
    void renameVolume(CatalogNode* volume, std::string name);
    // Runs removal, which takes the node out of the catalog, as the removal of its row.
    void removeNode(CatalogNode* node, const std::function<void()>& removal);

    // A reload replaces every volume, so views drop all indexes and start over.
    void beginReload() { beginResetModel(); }
    void endReload() { endResetModel(); }

private:
    Catalog& m_catalog;
    std::array<QIcon, 3> m_images;
    EditHandler m_edited;
    bool m_editing = false;
};

}  // namespace quillon
