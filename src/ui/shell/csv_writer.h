#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace velmor::ui {

using CsvRow = std::vector<std::u16string>;

// Writes the headings and then the rows as comma-separated values in UTF-8, one line each
// (CRLF), quoting a field that holds a comma, a quote or a line break. False when the file
// cannot be written completely.
bool WriteCsvFile(const std::filesystem::path& path, const CsvRow& headings,
                  const std::vector<CsvRow>& rows);

}  // namespace velmor::ui
