#pragma once

#include "discovery/processing_context.h"

namespace velmor {

inline constexpr char16_t kProcessingHelpText[] =
    u"Processing File for Mailboxes,Folders and Items...";
inline constexpr char16_t kScanningForItemsStatus[] = u"Scanning File for Items.Please wait...";
inline constexpr char16_t kSelectMailboxHelpText[] =
    u"Select the Mailbox-Name of which you want to recover emails, attachments, deleted emails "
    u"and other items. Click the [Next] button to continue with recovery of emails. Recovered "
    u"emails are saved to working .PST file, easily accessible with MS Outlook.";

// Runs the seven processing parts in order with their announcements, progress positions and
// stop tests. False when nothing usable was found; true when finished or stopped.
bool RunProcessingParts(ProcessingContext& context);

}  // namespace velmor
