#pragma once

#include <QIcon>
#include <QTreeWidget>
#include <QWidget>

#include "mailbox_list_view.h"
#include "step_panel.h"
#include "wizard/mailbox_page_port.h"

namespace velmor::ui {

inline constexpr char16_t kMailboxPageHelpAtStart[] =
    u"Processing File for Mailboxes,Folders and Items...";

// The page of step 2: the help text that follows the scan and the list of mailboxes found.
class C2SecondView : public QWidget, public MailboxPagePort {
    Q_OBJECT

public:
    explicit C2SecondView(QWidget* parent = nullptr);

    MailboxListView* mailboxList() const { return list_; }
    const QString& helpText() const { return helpText_; }
    QRect HelpTextRect() const;

    void SetHelpText(const std::u16string& text) override;
    void RedrawHelpText() override;
    void DeleteAllRows() override;
    void InsertRow(int row, const std::u16string& number, int image) override;
    void SetRowName(int row, const std::u16string& name) override;
    int RowCount() const override;
    int SelectedCount() const override;
    int SelectionMark() const override;
    std::u16string RowName(int row) const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void PlaceList();

    StepPanel* stepPanel_;
    MailboxListView* list_;
    QString helpText_;
    QIcon rowIcon_;
};

}  // namespace velmor::ui
