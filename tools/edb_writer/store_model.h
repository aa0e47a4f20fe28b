#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "edb_writer/entry_id.h"
#include "edb_writer/folder_record.h"
#include "edb_writer/recipient_list.h"
#include "edb_writer/store_columns.h"
#include "edb_writer/stored_text.h"

namespace velmor::testdb {

// A mailbox; its key is also the parent id of its top-level folders.
struct Mailbox {
    std::string name;
    EntryId key{};  // unset: the builder assigns one
    TextEncoding encoding = TextEncoding::Utf16;
};

// A folder; its parent is a mailbox key or another folder's id.
struct Folder {
    EntryId parent{};
    std::string name;
    std::string containerClass;  // "IPF.Note", "IPF.Contact", ...; empty: no class column
    EntryId id{};                // unset: the builder assigns one
    FolderHeaderForm form = FolderHeaderForm::Long;
    TextEncoding encoding = TextEncoding::Utf16;
};

// A folder below parent with the given name and class, the rest as a folder usually has it.
inline Folder MakeFolder(const EntryId& parent, std::string name, std::string containerClass) {
    Folder folder;
    folder.parent = parent;
    folder.name = std::move(name);
    folder.containerClass = std::move(containerClass);
    return folder;
}

enum class ItemKind { Mail, Contact, Appointment, Task, StickyNote, Journal };

// Where a sender is stored in the folder's table: length-prefixed text (column 258) or plain
// stored text (column 264).
enum class SenderColumn { LengthPrefixed, Stored };

// Recipient lists longer than an in-line value allows go to a long-value page when Auto.
enum class RecipientStorage { Auto, InLine, OutOfLine };

// Body values above this size go to the long-value tree when Auto.
inline constexpr size_t kInLineBodyLimit = 400;
enum class BodyStorage { Auto, InLine, LongValue };

// A mail's content: each part stored in its own column when not empty.
struct MailContent {
    std::string text;  // "S1000", in the item's encoding
    std::string html;  // "N1013" as bytes, or "S1013" as text when htmlAsText
    bool htmlAsText = false;
    std::vector<uint8_t> rtf;  // "N1009": compressed RTF as stored
    BodyStorage storage = BodyStorage::Auto;
};

// A mail's addressing, Internet headers and state in the store's message table: each text
// written when not empty, each number when set. Texts go to the long-value tree as bodies do.
struct MailFields {
    std::string senderEmailAddress;       // "S0c1f"
    std::string senderAddressType;        // "S0c1e": "SMTP" or "EX"
    std::string representingName;         // "S0042"
    std::string representingAddress;      // "S0065"
    std::string representingAddressType;  // "S0064"
    std::string displayTo;                // "S0e04"
    std::string displayCc;                // "S0e03"
    std::string displayBcc;               // "S0e02"
    std::string internetHeaders;          // "S007d"
    std::string messageId;                // "S1035"
    std::string inReplyTo;                // "S1042"
    std::string references;               // "S1039"
    std::optional<uint32_t> importance;   // "L0017"
    std::optional<uint32_t> sensitivity;  // "L0036"
    std::optional<uint32_t> flags;        // "L0e07"
    std::optional<uint32_t> size;         // "L0e08"
    BodyStorage storage = BodyStorage::Auto;
    // Values written as given instead of the field's own: damaged ones.
    std::vector<std::pair<MessageColumn, std::vector<uint8_t>>> rawValues;
};

struct ContactFields {
    std::string fullName;
    std::string firstName;
    std::string lastName;
    std::string businessPhone;
    std::string homePhone;
    std::string mobilePhone;
    std::string businessAddress;
    std::string emailAddress;
};

// One item. It is written twice with the same id: into its folder's own message table (time,
// subject, sender, class, ...) and into the store's message table (sender, recipients,
// subject, flag, location, entry type, contact properties).
struct Item {
    ItemKind kind = ItemKind::Mail;
    EntryId id{};              // unset: the builder assigns one
    uint64_t time = 0;         // FILETIME
    std::string messageClass;  // empty: the kind's usual class
    std::string subject;
    std::string subjectPrefix;
    std::string sender;
    std::string senderAddress;
    SenderColumn senderColumn = SenderColumn::LengthPrefixed;
    std::string displayTo;  // empty: the recipients' names joined by "; "
    std::vector<Recipient> recipients;
    RecipientStorage recipientStorage = RecipientStorage::Auto;
    // A damaged record's second recipient value: a reference to this long-value id, written
    // after the list.
    std::optional<uint32_t> trailingRecipientReference;
    // Bytes of the long-value reference stored for an out-of-line list: the key, little-endian,
    // cut or padded with zeros. Readers follow only a 4-byte reference.
    size_t recipientReferenceSize = 4;
    bool flagged = false;
    bool hideSubject = false;  // a 4-byte column 256, which makes readers ignore the subject
    std::string location;      // appointments
    std::string entryType;     // journal entries
    ContactFields contact;
    MailContent content;
    MailFields fields;
    TextEncoding encoding = TextEncoding::Utf16;
};

}  // namespace velmor::testdb
