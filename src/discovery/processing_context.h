#pragma once

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
    // Threads that read and scan the file in the full-file pass; 0: one per processor core.
    unsigned passThreads = 0;
};

}  // namespace velmor
