#include "mailbox_page.h"

#include <QHeaderView>
#include <QPainter>
#include <algorithm>

#include "first_row_on_focus.h"
#include "page_painting.h"
#include "pictures.h"
#include "qt_text.h"

namespace velmor::ui {

namespace {

constexpr int kMailboxStepIndex = 1;
constexpr int kNumberColumn = 0;
constexpr int kNameColumn = 1;
constexpr int kNumberColumnWidth = 50;
constexpr int kNameColumnWidth = 500;
// At every resize the name column becomes the page width less this.
constexpr int kNameColumnWidthShortfall = 200;
constexpr int kListTop = 60;
constexpr int kListBottomMargin = 60;
constexpr int kHelpTextFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;

}  // namespace

C2SecondView::C2SecondView(QWidget* parent)
    : QWidget(parent),
      stepPanel_(new StepPanel(kMailboxStepIndex, this)),
      list_(new MailboxListView(this)),
      helpText_(ToQString(kMailboxPageHelpAtStart)),
      rowIcon_(Picture("mailbox-row")) {
    list_->setColumnCount(2);
    list_->setHeaderLabels({"No", "Mailbox-Name"});
    list_->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list_->header()->setSectionsMovable(false);
    list_->setColumnWidth(kNumberColumn, kNumberColumnWidth);
    list_->setColumnWidth(kNameColumn, kNameColumnWidth);
    list_->setRootIsDecorated(false);
    list_->setItemsExpandable(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setAllColumnsShowFocus(true);
    list_->setIconSize(QSize(16, 16));
    MakeFirstRowCurrentOnFocus(list_);
    // The selection stays as visible when the list loses the focus.
    QPalette palette = list_->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    list_->setPalette(palette);
}

QRect C2SecondView::HelpTextRect() const {
    return CornerRect(250, 10, width() - 60, height() / 2 - 20);
}

void C2SecondView::SetHelpText(const std::u16string& text) {
    helpText_ = ToQString(text);
    PlaceList();
}

// The list starts below the help text, which in a narrow window takes more lines than the
// room above the list's usual place holds.
void C2SecondView::PlaceList() {
    const QRect help = HelpTextRect();
    const int textBottom =
        help.top() + fontMetrics().boundingRect(help, kHelpTextFlags, helpText_).height();
    const int top = std::max(kListTop, textBottom);
    list_->setGeometry(250, top, width() - 300, height() - kListBottomMargin - top);
}

void C2SecondView::RedrawHelpText() {
    update();
}

void C2SecondView::DeleteAllRows() {
    list_->ClearRows();
}

void C2SecondView::InsertRow(int row, const std::u16string& number, int) {
    auto* item = new QTreeWidgetItem;
    item->setText(kNumberColumn, ToQString(number));
    item->setIcon(kNumberColumn, rowIcon_);
    list_->insertTopLevelItem(row, item);
}

void C2SecondView::SetRowName(int row, const std::u16string& name) {
    if (QTreeWidgetItem* item = list_->topLevelItem(row)) {
        item->setText(kNameColumn, ToQString(name));
    }
}

int C2SecondView::RowCount() const {
    return list_->topLevelItemCount();
}

int C2SecondView::SelectedCount() const {
    return static_cast<int>(list_->selectedItems().size());
}

int C2SecondView::SelectionMark() const {
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    return selected.isEmpty() ? -1 : list_->indexOfTopLevelItem(selected.front());
}

std::u16string C2SecondView::RowName(int row) const {
    const QTreeWidgetItem* item = list_->topLevelItem(row);
    return item ? ToU16(item->text(kNameColumn)) : std::u16string();
}

void C2SecondView::resizeEvent(QResizeEvent*) {
    const int w = width();
    const int h = height();
    stepPanel_->setGeometry(0, 0, kStepPanelWidth, h);
    PlaceList();
    list_->setColumnWidth(kNameColumn, w - kNameColumnWidthShortfall);
}

void C2SecondView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect beside(kStepPanelWidth, 0, width() - kStepPanelWidth, height());
    painter.fillRect(beside, PageGradient(rect()));
    painter.setPen(kPageBlue);
    painter.drawText(HelpTextRect(), kHelpTextFlags, helpText_);
}

}  // namespace velmor::ui
