#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "browse/folder_view_list.h"
#include "discovery/long_value_store.h"
#include "discovery/mailbox_list.h"
#include "discovery/page_groups.h"
#include "discovery/schema_ids.h"
#include "edb/code_page_text.h"
#include "edb/stored_text_decoder.h"
#include "items/message_candidates.h"
#include "items/message_index.h"

namespace velmor {

// One catalog record.
struct CatalogEntry {
    int32_t tableObjectId = 0;  // the table the record belongs to (a table record: itself)
    int32_t id = 0;             // column id, or object id of a table, index or long-value tree
    std::u16string name;
    uint32_t rootMarker = 0;  // 255 marks a table record
    int32_t typeOrRootPage = 0;
};

inline constexpr uint32_t kTableRecordMarker = 255;

struct FolderEntry {
    std::u16string folderId;  // 16 upper-case hex digits
    std::u16string parentId;
    std::u16string containerClass;
    std::u16string displayName;
    std::vector<uint8_t> storedName;  // the name's bytes, read again in the store's form
    // The form of its mailbox's certain names: its items' ties take it when their column has
    // no certain value of one form only.
    std::optional<StoredTextForm> mailboxTextForm;
};

// Everything the processing parts learn about the database. Lists keep discovery order.
struct RecoveredStore {
    PageGroupList pageGroups;
    std::vector<CatalogEntry> catalog;
    SchemaIds schema;
    MailboxList mailboxes;
    std::vector<FolderEntry> folders;
    uint32_t listedMailboxCount = 0;
    // The code page the store's 8-bit text is read in, chosen or detected after the folders.
    int codePage = kWindowsWesternCodePage;
    MessageIndex messageIndex;
    // The message records the full-file pass found, until the message index takes them.
    MessageCandidates messageCandidates;
    // One node per folder item of the tree; ResetStore leaves it to its own release.
    FolderViewList folderViews;
    // Long values read so far; each long-value object is indexed on first use.
    LongValueStore longValues;

    // Counts every folder entry created; the tree population's progress range.
    uint32_t folderCount() const { return static_cast<uint32_t>(folders.size()); }

    // Empties the store, so that a second database starts from nothing.
    void ResetStore();
};

}  // namespace velmor
