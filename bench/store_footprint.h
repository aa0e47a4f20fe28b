#pragma once

#include <cstddef>

namespace velmor::bench {

// Heap bytes in use by this process now; the difference across a discovery run is what the
// store's lists hold.
size_t HeapInUseBytes();

// Peak resident set size of this process so far.
size_t PeakResidentBytes();

// Processor time of all this process's threads so far, user and system.
double ProcessorSeconds();

}  // namespace velmor::bench
