#pragma once

#include <QMenu>

namespace velmor::ui {

// "Code &Page": read the stores' 8-bit text in a code page of the user's choice, or detect it
// (the default). The choice is remembered and holds from the next discovery on.
class CodePageMenu : public QMenu {
    Q_OBJECT

public:
    explicit CodePageMenu(QWidget* parent);

private:
    // The user's choice: remembered and applied.
    void Choose(int codePage);
    void Apply(int codePage);
};

}  // namespace velmor::ui
