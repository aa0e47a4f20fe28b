#pragma once

#include <string>

#include "discovery/processing_context.h"

namespace velmor {

inline constexpr std::u16string_view kMailboxWord = u"Mailbox";
inline constexpr std::u16string_view kMailboxLabelPrefix = u"Mailbox - ";

// The name as the list shows it: with "Mailbox - " in front unless it contains "Mailbox".
std::u16string MailboxLabel(std::u16string name);

// Processing part 5: writes one numbered row per mailbox into the step-2 list. A name that
// does not contain "Mailbox" is shown, and kept, as "Mailbox - " followed by the name.
void FillMailboxList(ProcessingContext& context);

}  // namespace velmor
