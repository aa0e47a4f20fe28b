#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QStringList>
#include <vector>

#include "browse/item_list.h"

namespace velmor::ui {

// The rows of the item list: an image and one text per column each. The browsing engine
// writes it through ItemList, one row at a time in list order; the view only asks for what
// it shows, so a folder of any size lists at the pace of its rows.
class ItemListModel : public QAbstractTableModel, public ItemList {
    Q_OBJECT

public:
    explicit ItemListModel(QObject* parent = nullptr);

    void DeleteAllRows() override;
    void SetColumns(const std::vector<ItemColumn>& columns) override;
    void InsertRow(int row, int image, const std::vector<std::u16string>& cells) override;
    void InsertListedRow(int row, int image, const std::vector<std::u16string>& cells,
                         const ListedItem& item) override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    QStringList Headings() const;
    // The texts of a row, column by column, as the list shows them.
    QStringList RowTexts(int row) const;
    // The item id of a mail row; empty for other rows.
    std::u16string RowItemId(int row) const;

signals:
    // New columns are in place; the view gives them these widths.
    void columnsReplaced(const std::vector<int>& widths);

private:
    struct Row {
        int image;
        QStringList cells;
        std::u16string itemId;
    };

    std::vector<ItemColumn> columns_;
    std::vector<Row> rows_;
    std::vector<QIcon> images_;
};

}  // namespace velmor::ui
