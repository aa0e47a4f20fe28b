#include "export/csv_writer.h"

#include <fstream>

#include "edb/text_codec.h"

namespace velmor {

namespace {

constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kCharactersToQuote = ",\"\r\n";
// A cell that starts with one of these runs as a formula in a spreadsheet.
constexpr std::string_view kFormulaStarts = "=+-@\t\r";
constexpr char kFormulaGuard = '\'';

std::string CsvField(const std::u16string& text) {
    std::string utf8 = Utf16ToUtf8(text);
    if (!utf8.empty() && kFormulaStarts.find(utf8.front()) != std::string_view::npos) {
        utf8.insert(utf8.begin(), kFormulaGuard);
    }
    if (utf8.find_first_of(kCharactersToQuote) == std::string::npos) {
        return utf8;
    }
    std::string quoted = "\"";
    for (const char c : utf8) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

}  // namespace

std::string CsvLine(const CsvRow& fields) {
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            line += ',';
        }
        line += CsvField(fields[i]);
    }
    line += kLineBreak;
    return line;
}

bool WriteCsvFile(const std::filesystem::path& path, const CsvRow& headings,
                  const std::vector<CsvRow>& rows) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        return false;
    }
    out << CsvLine(headings);
    for (const CsvRow& row : rows) {
        out << CsvLine(row);
    }
    out.close();
    return !out.fail();
}

}  // namespace velmor
