#pragma once

namespace velmor {

// Makes the MIME library ready, once per process, before any of its calls.
void InitializeMimeLibrary();

}  // namespace velmor
