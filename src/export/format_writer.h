#pragma once

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

    // The names of the files completed so far, in the folder's directory. Names, not paths:
    // a folder may get a hundred thousand of them.
    const std::vector<std::string>& files() const { return files_; }
    const std::string& error() const { return error_; }

protected:
    std::vector<std::string> files_;
    std::string error_;
};

}  // namespace velmor
