#pragma once

namespace velmor {

// Images of the item list's rows. A mail whose item kind is 2 to 6 shows the image of that
// kind, so the indices 2 to 6 mean the same kinds for mails and for the other item types.
enum ItemImage : int {
    kMailImage = 0,
    kMarkedMailImage = 1,
    kContactImage = 2,
    kAppointmentImage = 3,
    kTaskImage = 4,
    kStickyNoteImage = 5,
    kJournalImage = 6,
};

}  // namespace velmor
