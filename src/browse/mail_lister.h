#pragma once

#include <string>
#include <vector>

#include "browse/item_list.h"
#include "discovery/processing_context.h"
#include "items/item_records.h"
#include "items/tied_mail_text.h"

namespace velmor {

inline constexpr char16_t kDisplayingItemsStatus[] = u"Displaying Items.Please wait...";
inline constexpr char16_t kAdministratorSender[] = u"Administrator";

// Lists the mails of a folder, of mails with equal item ids only the last, reading each
// listed mail's further texts from its message record. Sent items and outbox mails show their
// recipients; an administrator folder shows "Administrator" as every sender; a non-empty
// owner text stands in for a missing sender. A sender or subject read from a message record
// takes the form its folder's column settled on (columnForms). Moves the item progress bar from
// 60 towards 100.
void ListMailItems(ProcessingContext& context, std::vector<CMailItem>& mails, ItemList& list,
                   bool sentOrOutbox, bool administrator, const std::u16string& owner,
                   const SettledMailForms& columnForms);

}  // namespace velmor
