#pragma once

#include "export/folder_exporter.h"
#include "export/format_writer.h"

namespace velmor {

// Writes a folder's records as the items of one folder of the mailbox's personal-folders
// file. The file is the mailbox's: it is named when the whole export ends, not here.
class PstFolderWriter : public FormatWriter {
public:
    explicit PstFolderWriter(const PstFolderTarget& target) : target_(target) {}

    bool Write(const ExportRecord& record) override;
    bool Finish() override;

private:
    PstFolderTarget target_;
};

}  // namespace velmor
