#pragma once

#include "discovery/processing_context.h"

namespace velmor {

// After the folders are found: the store's form is the one its mailbox and folder names whose
// form is certain have (TextFormEvidence), and each mailbox's the one of its own names; a name
// both readings allow takes its mailbox's form, else the store's. The code page of the store's
// 8-bit text is the user's choice, else the one detected over the 8-bit mailbox and folder
// names (Windows-1252 without any). Names read so far another way are read again; mailbox rows
// are renamed.
void SettleStoreCodePage(ProcessingContext& context);

}  // namespace velmor
