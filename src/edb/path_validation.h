#pragma once

#include <string>

#include "edb/edb_file.h"

namespace velmor {

inline constexpr char16_t kFileDoesNotExist[] = u"File Does Not Exist";
inline constexpr char16_t kNotAnEdbFile[] = u"Not an EDB File";
inline constexpr char16_t kFileCouldNotBeOpened[] = u"File Could not be Opened";

// What the path check needs from its front end.
class PathValidationPort {
public:
    virtual ~PathValidationPort() = default;
    // An empty path opens the file chooser instead of a message.
    virtual void OpenFileChooser() = 0;
    // An error message box; ownedByMainWindow tells whether the main window owns it.
    virtual void ShowPathError(const std::u16string& message, bool ownedByMainWindow) = 0;
};

// Checks the chosen path and opens the database; true only when it is open and ready.
bool ValidateDatabasePath(EdbFile& file, const std::u16string& path, PathValidationPort& port);

}  // namespace velmor
