#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "export/export_record.h"

namespace velmor {

// One export format's writer for one folder: takes the folder's records in row order and
// leaves complete files in the folder's directory. A writer destroyed before Finish leaves
// nothing of the file it had begun.
class FormatWriter {
public:
    virtual ~FormatWriter() = default;

    // Writes one record; false with a reason in error() when the folder's export must end.
    virtual bool Write(const ExportRecord& record) = 0;
    // Completes and names what is still open; false with a reason in error().
    virtual bool Finish() = 0;

    // The files completed so far.
    const std::vector<std::filesystem::path>& files() const { return files_; }
    const std::string& error() const { return error_; }

protected:
    std::vector<std::filesystem::path> files_;
    std::string error_;
};

}  // namespace velmor
