#pragma once

namespace velmor {

// The kind of list a folder gets; it fixes the item list's columns.
enum FolderKind : int {
    kUnclassifiedFolder = 0,
    kMailFolder = 1,
    kJournalFolder = 2,
    kStickyNoteFolder = 3,
    kTaskFolder = 4,
    kAppointmentFolder = 5,
    kContactFolder = 6,
    kSentItemsFolder = 7,
    kOutboxFolder = 8,
};

}  // namespace velmor
