#pragma once

#include "export/atomic_file.h"
#include "export/format_writer.h"

namespace velmor {

// One message file per mail row, named after the row number: "00001.eml", "00002.eml"...; a
// mail with its original MIME gets that, byte for byte.
class EmlWriter : public FormatWriter {
public:
    EmlWriter(std::filesystem::path directory, const EdbFile* database)
        : directory_(std::move(directory)), database_(database) {}

    bool Write(const ExportRecord& record) override;
    bool Finish() override { return true; }

private:
    std::filesystem::path directory_;
    const EdbFile* database_;
};

// The file name of a mail row: the row number zero-padded to five digits.
std::string EmlFileName(int rowNumber);

}  // namespace velmor
