#pragma once

#include <string>

namespace velmor::ui {

// The step-2 page as the wizard and the workers see it: its help text and its mailbox list.
class MailboxPagePort {
public:
    virtual ~MailboxPagePort() = default;

    virtual void SetHelpText(const std::u16string& text) = 0;
    virtual void RedrawHelpText() = 0;

    virtual void DeleteAllRows() = 0;
    virtual void InsertRow(int row, const std::u16string& number, int image) = 0;
    virtual void SetRowName(int row, const std::u16string& name) = 0;
    virtual int RowCount() const = 0;
    virtual int SelectedCount() const = 0;
    // The selected row, -1 when there is none.
    virtual int SelectionMark() const = 0;
    // Column 1 of a row: the mailbox label.
    virtual std::u16string RowName(int row) const = 0;
};

}  // namespace velmor::ui
