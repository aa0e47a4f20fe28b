#pragma once

#include <algorithm>
#include <thread>

#include "discovery/progress_sink.h"
#include "discovery/recovered_store.h"
#include "discovery/stop_flag.h"
#include "edb/edb_file.h"

namespace velmor {

// What every processing part works on: the open file, the store it fills, the windows it
// reports to and the stop flag it polls.
struct ProcessingContext {
    EdbFile& file;
    RecoveredStore& store;
    ProgressSink& sink;
    StopFlag& stop;
    // Threads of the full-file pass and of the scans of a table's pages; 0: one per processor
    // core.
    unsigned threads = 0;

    unsigned threadCount() const {
        return threads != 0 ? threads : std::max(1U, std::thread::hardware_concurrency());
    }
};

}  // namespace velmor
