#pragma once

#include <memory>
#include <string>

#include "export/atomic_file.h"
#include "export/format_writer.h"

namespace velmor {

// A writer whose records all go into one file of the folder, opened at the first record and
// named when the folder is complete. A folder without records gets the file only when the
// format asks for it (a list with its headings, say).
class StreamedFileWriter : public FormatWriter {
public:
    StreamedFileWriter(std::filesystem::path directory, const EdbFile* database, std::string name,
                       bool writtenWhenEmpty = false)
        : file_(std::move(directory), database),
          name_(std::move(name)),
          writtenWhenEmpty_(writtenWhenEmpty) {}

    bool Write(const ExportRecord& record) final;
    bool Finish() final;

protected:
    // Text that opens the file before the first record, and closes it after the last.
    virtual std::string Header() { return {}; }
    virtual std::string Footer() { return {}; }
    // The bytes of one record.
    virtual std::string Entry(const ExportRecord& record) = 0;

private:
    bool Begin();
    bool Failed();

    AtomicFile file_;
    std::string name_;
    bool writtenWhenEmpty_;
};

}  // namespace velmor
