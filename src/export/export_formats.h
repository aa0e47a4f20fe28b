#pragma once

#include <optional>
#include <string>

namespace velmor {

// The file formats an export writes; each applies to the folder kinds that hold its items.
struct ExportFormats {
    bool eml = true;
    bool mbox = false;
    bool vcard = true;
    bool icalendar = true;
    bool csv = true;
    bool pst = false;  // one file per mailbox rather than files per folder

    // Whether any format writes files into the folders' own directories.
    bool WritesFolderFiles() const { return eml || mbox || vcard || icalendar || csv; }
};

// "eml,mbox,vcf,ics,csv,pst" or any non-empty subset; nothing for an unknown or empty list.
std::optional<ExportFormats> ParseExportFormats(const std::string& list);

// Which file kinds a folder kind gets.
bool IsMailKind(int folderKind);
bool IsContactKind(int folderKind);
bool IsCalendarKind(int folderKind);

}  // namespace velmor
