#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "export/streamed_file_writer.h"

namespace velmor {

using CsvRow = std::vector<std::u16string>;

inline constexpr char kCsvFileName[] = "items.csv";

// One line of comma-separated values in UTF-8 with its CRLF, quoting a field that holds a
// comma, a quote or a line break. A field that starts with "=", "+", "-", "@", a tab or a
// carriage return gets a single quote before it, so that no spreadsheet runs it as a formula.
std::string CsvLine(const CsvRow& fields);

// Writes the headings and then the rows as CsvLine lines. False when the file cannot be
// written completely.
bool WriteCsvFile(const std::filesystem::path& path, const CsvRow& headings,
                  const std::vector<CsvRow>& rows);

// A folder's listing as shown, headings first, in "items.csv"; a folder without rows gets
// the headings alone.
class CsvWriter : public StreamedFileWriter {
public:
    CsvWriter(std::filesystem::path directory, const EdbFile* database, CsvRow headings)
        : StreamedFileWriter(std::move(directory), database, kCsvFileName, true),
          headings_(std::move(headings)) {}

protected:
    std::string Header() override { return CsvLine(headings_); }
    std::string Entry(const ExportRecord& record) override { return CsvLine(record.cells); }

private:
    CsvRow headings_;
};

}  // namespace velmor
