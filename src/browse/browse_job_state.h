#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

#include "browse/auto_reset_event.h"
#include "browse/folder_kind.h"

namespace velmor {

// What a browse job lists: the tree path of the selected item and its folder kind.
struct BrowseSelection {
    std::u16string path;
    int folderKind = kUnclassifiedFolder;
};

// The job fields that the folder tree control holds for browse jobs, and the job that runs.
// The selection is written by the user-interface thread and read by a job once it holds the
// event, so a job that had to wait lists the selection current at that moment.
class BrowseJobState {
public:
    void Select(BrowseSelection selection);
    BrowseSelection Selection() const;

    // Serialises browse jobs; created signalled so that the first job does not wait.
    AutoResetEvent BrowseJobEvent{true};
    // The browse worker that holds the event; no thread when no job runs.
    std::atomic<std::thread::id> CurrentBrowseJob{};

    bool JobRunning() const { return CurrentBrowseJob.load() != std::thread::id{}; }

private:
    mutable std::mutex mutex_;
    BrowseSelection selection_;
};

}  // namespace velmor
