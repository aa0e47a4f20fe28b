#include "export/export_formats.h"

#include "browse/folder_kind.h"

namespace velmor {

std::optional<ExportFormats> ParseExportFormats(const std::string& list) {
    ExportFormats formats{false, false, false, false, false, false};
    size_t start = 0;
    while (start <= list.size()) {
        const size_t comma = list.find(',', start);
        const size_t end = comma == std::string::npos ? list.size() : comma;
        const std::string name = list.substr(start, end - start);
        if (name == "eml") {
            formats.eml = true;
        } else if (name == "mbox") {
            formats.mbox = true;
        } else if (name == "vcf") {
            formats.vcard = true;
        } else if (name == "ics") {
            formats.icalendar = true;
        } else if (name == "csv") {
            formats.csv = true;
        } else if (name == "pst") {
            formats.pst = true;
        } else {
            return std::nullopt;
        }
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    return formats;
}

bool IsMailKind(int folderKind) {
    return folderKind == kUnclassifiedFolder || folderKind == kMailFolder ||
           folderKind == kSentItemsFolder || folderKind == kOutboxFolder;
}

bool IsContactKind(int folderKind) {
    return folderKind == kContactFolder;
}

bool IsCalendarKind(int folderKind) {
    return folderKind == kAppointmentFolder || folderKind == kTaskFolder ||
           folderKind == kStickyNoteFolder || folderKind == kJournalFolder;
}

}  // namespace velmor
