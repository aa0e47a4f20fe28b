#pragma once

#include "export/streamed_file_writer.h"

namespace velmor {

inline constexpr char kMboxFileName[] = "folder.mbox";

// All mail rows of a folder in one mbox file in the mboxrd form: each message opens with a
// "From " line, and a body line that starts with "From " after any number of ">" gets one ">"
// more, so that readers can undo the quoting exactly.
class MboxWriter : public StreamedFileWriter {
public:
    MboxWriter(std::filesystem::path directory, const EdbFile* database)
        : StreamedFileWriter(std::move(directory), database, kMboxFileName) {}

protected:
    std::string Entry(const ExportRecord& record) override;
};

// A message's lines quoted as mboxrd wants them.
std::string MboxrdQuote(const std::string& message);

}  // namespace velmor
