#pragma once

#include <QMenu>
#include <optional>

namespace velmor::ui {

// "Code &Page": read the stores' 8-bit text in a code page of the user's choice, or detect it
// (the default). The choice is remembered between runs and announced; the window applies it.
class CodePageMenu : public QMenu {
    Q_OBJECT

public:
    // Starts with the remembered choice in force.
    explicit CodePageMenu(QWidget* parent);

signals:
    // The user picked a code page; nothing: Detect.
    void chosen(std::optional<int> codePage);

private:
    void Choose(int codePage);
};

}  // namespace velmor::ui
