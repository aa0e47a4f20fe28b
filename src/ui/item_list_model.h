#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QStringList>
#include <vector>

#include "wizard/shown_item_list.h"

namespace velmor::ui {

// The rows of the item list: an image and one text per column each. The browsing engine
// writes it through ItemList in list order, a worker's rows a batch at a time; the view only
// asks for what it shows, so a folder of any size lists at the pace of its rows.
class ItemListModel : public QAbstractTableModel, public ShownItemList {
    Q_OBJECT

public:
    explicit ItemListModel(QObject* parent = nullptr);

    void DeleteAllRows() override;
    void SetColumns(const std::vector<ItemColumn>& columns) override;
    void InsertRow(int row, int image, const std::vector<std::u16string>& cells) override;
    void InsertListedRow(int row, int image, const std::vector<std::u16string>& cells,
                         const ListedItem& item) override;
    void InsertShownRows(std::vector<ShownRow>& rows) override;
    void ListingStopped() override;
    void ListingNote(const std::u16string& note) override;
    // Whether a stop ended the listing shown.
    bool stopped() const { return stopped_; }
    // The note on the listing shown; empty when it has none.
    const QString& note() const { return note_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Orders the rows by the column's values: numbers and dates by value, other texts
    // alphabetically; rows listed later join in order. A new listing comes in list order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    int sortColumn() const { return sortColumn_; }
    Qt::SortOrder sortOrder() const { return sortOrder_; }

    QStringList Headings() const;
    // The texts of a row, column by column, as the list shows them.
    QStringList RowTexts(int row) const;
    // The item id of a mail row; empty for other rows.
    std::u16string RowItemId(int row) const;

signals:
    // New columns are in place; the view gives them these widths.
    void columnsReplaced(const std::vector<int>& widths);
    // The listing shown was stopped or given a note, or a new one began.
    void captionChanged();

private:
    struct Row {
        int image;
        QStringList cells;
        std::u16string itemId;
    };

    std::vector<ItemColumn> columns_;
    std::vector<Row> rows_;
    std::vector<QIcon> images_;
    bool stopped_ = false;
    QString note_;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;

    void SetStopped(bool stopped);
    // A new listing: neither stopped nor noted.
    void ForgetCaption();
    static Row MakeRow(int image, const std::vector<std::u16string>& cells, std::u16string itemId);
    void Insert(int row, Row inserted);
    // Whether the rows follow the last one, each after the one before.
    bool Appended(const std::vector<ShownRow>& rows) const;
    // Where a row with these cells goes in the sorted list.
    int SortedPosition(const QStringList& cells) const;
    bool Before(const QString& a, const QString& b) const;
};

}  // namespace velmor::ui
