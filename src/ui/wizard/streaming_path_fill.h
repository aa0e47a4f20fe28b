#pragma once

#include <optional>
#include <string>

namespace velmor::ui {

// The streaming-file box of step 1 follows the database box with the .stm beside the
// database until the user types or chooses a path of their own; emptied, it follows again.
class StreamingPathFill {
public:
    // The box's new text after the database path changed; nothing leaves the user's own.
    std::optional<std::u16string> DatabasePathChanged(const std::u16string& databasePath) const;
    // The user typed or chose text in the box.
    void StreamingPathEdited(const std::u16string& text) { usersOwn_ = !text.empty(); }

private:
    bool usersOwn_ = false;
};

}  // namespace velmor::ui
