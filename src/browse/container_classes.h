#pragma once

#include <string_view>

namespace velmor {

// Container-class texts that choose a folder's kind, images, scanner and lister, tested with
// "contains" on the folder's container class.
inline constexpr std::u16string_view kContactClass = u"IPF.Contact";
inline constexpr std::u16string_view kAppointmentClass = u"IPF.Appointment";
inline constexpr std::u16string_view kJournalClass = u"IPF.Journal";
inline constexpr std::u16string_view kTaskClass = u"IPF.Task";
inline constexpr std::u16string_view kStickyNoteClass = u"IPF.StickyNote";

}  // namespace velmor
