#pragma once

#include <string>
#include <string_view>

#include "export/streamed_file_writer.h"

namespace velmor {

inline constexpr char kVcardFileName[] = "contacts.vcf";

// The contact rows of a folder as vCard 4.0 cards in one file: FN, N, TEL (home, work, cell),
// ADR (work), EMAIL and a UID from the item id.
class VcardWriter : public StreamedFileWriter {
public:
    VcardWriter(std::filesystem::path directory, const EdbFile* database)
        : StreamedFileWriter(std::move(directory), database, kVcardFileName) {}

protected:
    std::string Entry(const ExportRecord& record) override;
};

// A text value escaped as RFC 6350 asks: backslash, comma and line breaks always; a semicolon
// too inside a component of a compound value (N, ADR).
std::string VcardEscape(std::u16string_view text, bool component);

// One content line folded after at most 75 octets, continuation lines opening with a blank,
// never inside a UTF-8 character; each physical line ends with CRLF.
std::string FoldContentLine(std::string_view line);

}  // namespace velmor
