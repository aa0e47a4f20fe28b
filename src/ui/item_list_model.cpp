#include "item_list_model.h"

#include <QDateTime>
#include <algorithm>

#include "pictures.h"
#include "qt_text.h"

namespace velmor::ui {

namespace {

// A cell's value for sorting: a number, a date such as "Thu 10/4/2007 01:39:07 PM", or the
// text itself; each kind sorts before the next.
struct SortKey {
    int kind;
    qint64 value;
    QString text;
};

SortKey KeyOf(const QString& cell) {
    bool number = false;
    const qint64 value = cell.toLongLong(&number);
    if (number) {
        return {0, value, {}};
    }
    const QDateTime date =
        QDateTime::fromString(cell.section(QChar(0x20), 1, -1), "d/M/yyyy hh:mm:ss AP");
    if (date.isValid()) {
        return {1, date.toMSecsSinceEpoch(), {}};
    }
    return {2, 0, cell};
}

bool Less(const SortKey& a, const SortKey& b) {
    if (a.kind != b.kind) {
        return a.kind < b.kind;
    }
    if (a.kind < 2) {
        return a.value < b.value;
    }
    return QString::localeAwareCompare(a.text, b.text) < 0;
}

}  // namespace

ItemListModel::ItemListModel(QObject* parent)
    : QAbstractTableModel(parent), images_(ListImages()) {}

void ItemListModel::ListingStopped() {
    SetStopped(true);
}

void ItemListModel::SetStopped(bool stopped) {
    if (stopped_ != stopped) {
        stopped_ = stopped;
        emit captionChanged();
    }
}

void ItemListModel::ListingNote(const std::u16string& note) {
    note_ = QString::fromStdU16String(note);
    emit captionChanged();
}

void ItemListModel::ForgetCaption() {
    if (!note_.isEmpty()) {
        note_.clear();
        emit captionChanged();
    }
    SetStopped(false);
}

void ItemListModel::DeleteAllRows() {
    ForgetCaption();
    sortColumn_ = -1;
    if (rows_.empty()) {
        return;
    }
    beginResetModel();
    rows_.clear();
    endResetModel();
}

void ItemListModel::SetColumns(const std::vector<ItemColumn>& columns) {
    ForgetCaption();
    sortColumn_ = -1;
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
    Insert(row, MakeRow(image, cells, MailItemId(item)));
}

// A run of rows appended to an unsorted list is one insertion for the view, which lays out and
// repaints once for it rather than once a row.
void ItemListModel::InsertShownRows(std::vector<ShownRow>& rows) {
    if (rows.empty()) {
        return;
    }
    if (sortColumn_ >= 0 || !Appended(rows)) {
        for (ShownRow& shown : rows) {
            Insert(shown.row, MakeRow(shown.image, shown.cells, std::move(shown.itemId)));
        }
        return;
    }
    const int first = static_cast<int>(rows_.size());
    beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
    for (ShownRow& shown : rows) {
        rows_.push_back(MakeRow(shown.image, shown.cells, std::move(shown.itemId)));
    }
    endInsertRows();
}

bool ItemListModel::Appended(const std::vector<ShownRow>& rows) const {
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].row != static_cast<int>(rows_.size() + i)) {
            return false;
        }
    }
    return true;
}

ItemListModel::Row ItemListModel::MakeRow(int image, const std::vector<std::u16string>& cells,
                                          std::u16string itemId) {
    Row made{image, {}, std::move(itemId)};
    made.cells.reserve(static_cast<qsizetype>(cells.size()));
    for (const std::u16string& cell : cells) {
        made.cells.append(ToQString(cell));
    }
    return made;
}

void ItemListModel::Insert(int row, Row inserted) {
    const int at = sortColumn_ >= 0 ? SortedPosition(inserted.cells)
                                    : std::clamp(row, 0, static_cast<int>(rows_.size()));
    beginInsertRows({}, at, at);
    rows_.insert(rows_.begin() + at, std::move(inserted));
    endInsertRows();
}

bool ItemListModel::Before(const QString& a, const QString& b) const {
    return sortOrder_ == Qt::AscendingOrder ? Less(KeyOf(a), KeyOf(b)) : Less(KeyOf(b), KeyOf(a));
}

int ItemListModel::SortedPosition(const QStringList& cells) const {
    const QString cell = cells.value(sortColumn_);
    const auto at = std::upper_bound(
        rows_.begin(), rows_.end(), cell,
        [&](const QString& c, const Row& r) { return Before(c, r.cells.value(sortColumn_)); });
    return static_cast<int>(at - rows_.begin());
}

void ItemListModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= static_cast<int>(columns_.size())) {
        return;
    }
    sortColumn_ = column;
    sortOrder_ = order;
    std::vector<std::pair<SortKey, size_t>> keys;
    keys.reserve(rows_.size());
    for (size_t i = 0; i < rows_.size(); ++i) {
        keys.emplace_back(KeyOf(rows_[i].cells.value(column)), i);
    }
    std::stable_sort(keys.begin(), keys.end(), [order](const auto& a, const auto& b) {
        return order == Qt::AscendingOrder ? Less(a.first, b.first) : Less(b.first, a.first);
    });
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<Row> sorted;
    sorted.reserve(rows_.size());
    for (const auto& key : keys) {
        sorted.push_back(std::move(rows_[key.second]));
    }
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    std::vector<int> newRowOf(rows_.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        newRowOf[keys[i].second] = static_cast<int>(i);
    }
    for (const QModelIndex& index : before) {
        after.append(this->index(newRowOf[static_cast<size_t>(index.row())], index.column()));
    }
    rows_ = std::move(sorted);
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
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
