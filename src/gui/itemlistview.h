#pragma once

#include <QStackedWidget>
#include <vector>

#include "settings.h"

class QAbstractItemModel;
class QAbstractItemView;
class QListView;
class QTableView;

namespace quillon {

// One list shown in four styles over one model: a QListView for large icons, small icons and list, a
// table without grid or row numbers for details. Both views share the model and its selection, so switching styles keeps the rows,
// the selection and the current row.
class ItemListView final : public QStackedWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ItemListView)

public:
    explicit ItemListView(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model);
    // Widths of the details columns at start, in column order.
    void setColumnWidths(const std::vector<int>& widths);
    // Columns that share out the width the other columns leave, each at least minimumWidth wide, until the
    // columns are sized to their texts (adjustColumns).
    void setSharedColumns(const std::vector<int>& columns, int minimumWidth);

    void setViewStyle(ViewStyle style);
    ViewStyle viewStyle() const { return m_style; }

    QListView* iconView() const { return m_icons; }
    QTableView* detailsView() const { return m_details; }
    QAbstractItemView* currentView() const;

    // The selected row, or -1 when no row is selected.
    int selectedRow() const;
    void selectRow(int row);

    // Every column as wide as its widest cell text in the list's font plus 16; headers are not measured.
    // Only the details style has columns to resize.
    void adjustColumns();

signals:
    void columnClicked(int column);
    void rowDoubleClicked();
    // Space went to the list while it had the focus; the list still handles the key itself.
    void spacePressed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QListView* m_icons;
    QTableView* m_details;
    ViewStyle m_style = ViewStyle::Details;
};

}  // namespace quillon
