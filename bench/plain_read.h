#pragma once

namespace velmor::bench {

// Seconds to read the whole file sequentially in 1 MiB calls, as cat does: the floor a pass
// over the file is measured against. Negative when the file cannot be opened.
double PlainRead(const char* path);

}  // namespace velmor::bench
