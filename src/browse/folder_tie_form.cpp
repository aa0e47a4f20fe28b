#include "browse/folder_tie_form.h"

namespace velmor {

std::optional<StoredTextForm> FolderTieForm(const FolderViewNode* folder) {
    if (folder == nullptr) {
        return std::nullopt;
    }
    return folder->settledSubjectForm ? folder->settledSubjectForm : folder->mailboxTextForm;
}

}  // namespace velmor
