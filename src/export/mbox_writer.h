#pragma once

#include <ctime>

#include "export/streamed_file_writer.h"

namespace velmor {

inline constexpr char kMboxFileName[] = "folder.mbox";

// All mail rows of a folder in one mbox file in the mboxrd form, an empty file for a folder
// without mails: each message opens with a "From " line, and a body line that starts with "From "
// after any number of ">" gets one ">" more, so that readers can undo the quoting exactly.
class MboxWriter : public StreamedFileWriter {
public:
    // exportTime: the envelope time of a mail without a stored time.
    MboxWriter(std::filesystem::path directory, const EdbFile* database, time_t exportTime)
        : StreamedFileWriter(std::move(directory), database, kMboxFileName, true),
          exportTime_(exportTime) {}

protected:
    std::string Entry(const ExportRecord& record) override;

private:
    time_t exportTime_;
};

// A message's lines quoted as mboxrd wants them.
std::string MboxrdQuote(const std::string& message);

}  // namespace velmor
