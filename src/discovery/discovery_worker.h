#pragma once

#include "discovery/processing_context.h"
#include "discovery/wizard_port.h"

namespace velmor {

inline constexpr char16_t kNoUserFound[] = u"No User Found";

// The discovery worker's thread body: runs the processing parts, reports "No User Found" when
// nothing was found, restores the buttons and, after an empty run, returns to step 1.
void DiscoveryWorker(ProcessingContext& context, WizardPort& wizard);

}  // namespace velmor
