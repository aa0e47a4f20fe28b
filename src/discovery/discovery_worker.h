#pragma once

#include <functional>

#include "discovery/processing_context.h"
#include "discovery/wizard_port.h"

namespace velmor {

inline constexpr char16_t kNoUserFound[] = u"No User Found";

// The discovery worker's thread body: runs the processing parts, then furtherParts (when
// mailboxes were found and no stop was asked), reports "No User Found" when nothing was found,
// restores the buttons and, after an empty run, returns to step 1.
void DiscoveryWorker(ProcessingContext& context, WizardPort& wizard,
                     const std::function<void()>& furtherParts = {});

}  // namespace velmor
