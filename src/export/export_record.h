#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "browse/listed_item.h"
#include "browse/message_details.h"

namespace velmor {

// The address-book fields of a contact row, in the column order of the contact list.
struct ContactFields {
    std::u16string fullName;
    std::u16string firstName;
    std::u16string lastName;
    std::u16string homePhone;
    std::u16string businessPhone;
    std::u16string mobilePhone;
    std::u16string businessAddress;
    std::u16string emailAddress;
};

// One listed row as the export writers take it: what the row shows and the stored data
// behind it. Texts are UTF-16 as the engine keeps them.
struct ExportRecord {
    int folderKind = 0;                      // FolderKind of the folder listed
    int rowNumber = 0;                       // 1-based, as column 0 shows it
    std::vector<std::u16string> cells;       // the row's texts, column 0 included
    std::u16string itemId;                   // upper-case hex
    std::optional<uint64_t> fileTime;        // the stored FILETIME when it is a valid time
    std::u16string sender;                   // mail: display name; empty when unknown
    std::vector<std::u16string> recipients;  // mail: display names, one per recipient
    std::u16string subject;                  // as stored: prefix and subject, tabs kept
    bool marker = false;
    ContactFields contact;
    std::u16string location;   // appointments
    std::u16string entryType;  // journal entries
    std::optional<std::u16string> bodyText;
    std::optional<std::u16string> bodyHtml;
    MessageDetails details;  // mails written with their bodies: addressing, headers, state
    // A mail's original from the streaming file, which EML and mbox carry as it is.
    std::optional<std::string> originalMime;
};

// The export record of a row that a lister inserted in a folder of the given kind.
ExportRecord MakeExportRecord(int folderKind, int row, const std::vector<std::u16string>& cells,
                              const ListedItem& listed);

// A mail's To recipients: the addresses read with its details, or else the names its row lists.
std::vector<MessageAddress> ToRecipients(const ExportRecord& record);

}  // namespace velmor
