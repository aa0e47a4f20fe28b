#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "browse/browse_job_state.h"
#include "discovery/processing_context.h"
#include "export/export_formats.h"
#include "export/export_record.h"

namespace velmor {

namespace pst {
class PstMailboxFile;
}

// The folder of a mailbox's personal-folders file that a folder's items go into.
struct PstFolderTarget {
    pst::PstMailboxFile* file = nullptr;
    uint32_t folder = 0;
};

struct ExportOptions {
    ExportFormats formats;
    PstFolderTarget pst;
    // Completes a mail record, its body read, before it is written; may be empty.
    std::function<void(ExportRecord&, const ListedItem&)> completeRecord;
    // Whether the row numbered so (from 1) is written; empty: every row.
    std::function<bool(int rowNumber)> includeRow;
};

// What the export of one folder left behind.
struct FolderExportResult {
    std::u16string path;  // the folder's tree path
    std::filesystem::path directory;
    int folderKind = 0;
    size_t items = 0;                // rows written
    std::vector<std::string> files;  // the names of the files completed in directory
    std::string error;               // why the folder's export ended early
    bool stopped = false;            // a stop ended it
    bool ok() const { return error.empty() && !stopped; }
};

// Lists the selected folder as the browse job does and writes each listed row, as it comes,
// with the writers of the folder's kind into directory. Memory stays bounded by the folder's
// listing. A failing writer ends the folder's export (the listing runs on without writing);
// a stop leaves only the files completed before it.
FolderExportResult ExportFolder(ProcessingContext& context, const BrowseSelection& selection,
                                const std::filesystem::path& directory,
                                const ExportOptions& options);

}  // namespace velmor
