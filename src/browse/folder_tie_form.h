#pragma once

#include <optional>

#include "browse/folder_view_list.h"
#include "edb/stored_text_decoder.h"

namespace velmor {

// The form that text both readings allow takes in a mail of the folder: the form its mail
// subjects settled on when it was listed, else its mailbox's names' form, else nothing (the
// store's form). Nothing for no folder.
std::optional<StoredTextForm> FolderTieForm(const FolderViewNode* folder);

}  // namespace velmor
