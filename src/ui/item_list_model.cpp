#include "item_list_model.h"

#include "pictures.h"
#include "qt_text.h"

namespace velmor::ui {

ItemListModel::ItemListModel(QObject* parent)
    : QAbstractTableModel(parent), images_(ListImages()) {}

void ItemListModel::DeleteAllRows() {
    if (rows_.empty()) {
        return;
    }
    beginResetModel();
    rows_.clear();
    endResetModel();
}

void ItemListModel::SetColumns(const std::vector<ItemColumn>& columns) {
    beginResetModel();
    columns_ = columns;
    endResetModel();
    std::vector<int> widths;
    for (const ItemColumn& column : columns_) {
        widths.push_back(column.width);
    }
    emit columnsReplaced(widths);
}

void ItemListModel::InsertRow(int row, int image, const std::vector<std::u16string>& cells) {
    InsertListedRow(row, image, cells, ListedItem{});
}

void ItemListModel::InsertListedRow(int row, int image, const std::vector<std::u16string>& cells,
                                    const ListedItem& item) {
    const int at = std::clamp(row, 0, static_cast<int>(rows_.size()));
    Row inserted{image, {}, MailItemId(item)};
    inserted.cells.reserve(static_cast<qsizetype>(cells.size()));
    for (const std::u16string& cell : cells) {
        inserted.cells.append(ToQString(cell));
    }
    beginInsertRows({}, at, at);
    rows_.insert(rows_.begin() + at, std::move(inserted));
    endInsertRows();
}

std::u16string ItemListModel::RowItemId(int row) const {
    if (row < 0 || row >= static_cast<int>(rows_.size())) {
        return {};
    }
    return rows_[static_cast<size_t>(row)].itemId;
}

int ItemListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ItemListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant ItemListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(rows_.size())) {
        return {};
    }
    const Row& row = rows_[index.row()];
    if (role == Qt::DisplayRole && index.column() < row.cells.size()) {
        return row.cells[index.column()];
    }
    if (role == Qt::DecorationRole && index.column() == 0 && row.image >= 0 &&
        row.image < static_cast<int>(images_.size())) {
        return images_[row.image];
    }
    return {};
}

QVariant ItemListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 ||
        section >= static_cast<int>(columns_.size())) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return ToQString(columns_[section].heading);
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

QStringList ItemListModel::Headings() const {
    QStringList headings;
    for (const ItemColumn& column : columns_) {
        headings.append(ToQString(column.heading));
    }
    return headings;
}

QStringList ItemListModel::RowTexts(int row) const {
    QStringList texts = rows_.at(static_cast<size_t>(row)).cells;
    while (texts.size() < static_cast<qsizetype>(columns_.size())) {
        texts.append(QString());
    }
    return texts.mid(0, static_cast<qsizetype>(columns_.size()));
}

}  // namespace velmor::ui
