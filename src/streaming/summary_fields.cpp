#include "streaming/summary_fields.h"

#include <algorithm>
#include <array>

namespace velmor {

namespace {

// The fields ReadMimeMessage reads. The library decodes them without regard to the others
// (Content-Type's charset included), so that the others only cost it work.
constexpr std::array<std::string_view, 4> kSummaryFields = {"from", "subject", "date",
                                                            "message-id"};

bool IsFolded(std::string_view line) {
    return !line.empty() && (line[0] == ' ' || line[0] == '\t');
}

// The name of a well-formed field line ("Name: value", the name of printable characters
// without blanks), or nothing.
std::string_view FieldName(std::string_view line) {
    const size_t colon = line.find(':');
    if (colon == 0 || colon == std::string_view::npos) {
        return {};
    }
    const std::string_view name = line.substr(0, colon);
    const bool printable =
        std::all_of(name.begin(), name.end(), [](char c) { return c > ' ' && c < '\x7f'; });
    return printable ? name : std::string_view{};
}

bool IsSummaryField(std::string_view name) {
    return std::any_of(kSummaryFields.begin(), kSummaryFields.end(), [&](std::string_view field) {
        return name.size() == field.size() &&
               std::equal(name.begin(), name.end(), field.begin(), [](char a, char b) {
                   return (a >= 'A' && a <= 'Z' ? a - 'A' + 'a' : a) == b;
               });
    });
}

}  // namespace

std::string SummaryFieldsOf(std::string_view headerBlock) {
    std::string kept;
    bool leavingOut = false;  // the lines of a field left out
    for (size_t start = 0; start < headerBlock.size();) {
        const size_t newline = headerBlock.find('\n', start);
        const size_t end = newline == std::string_view::npos ? headerBlock.size() : newline + 1;
        const std::string_view line = headerBlock.substr(start, end - start);
        if (!IsFolded(line)) {
            const std::string_view name = FieldName(line);
            if (start > 0 && name.empty()) {
                kept += headerBlock.substr(start);
                break;
            }
            leavingOut = start > 0 && !IsSummaryField(name);
        }
        if (!leavingOut) {
            kept += line;
        }
        start = end;
    }
    return kept;
}

}  // namespace velmor
