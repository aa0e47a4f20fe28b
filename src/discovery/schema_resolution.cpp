#include "discovery/schema_resolution.h"

namespace velmor {

namespace {

constexpr std::u16string_view kMsgTableName = u"Msg";
constexpr std::u16string_view kMailboxTableName = u"Mailbox";
constexpr std::u16string_view kFoldersTableName = u"Folders";
constexpr std::u16string_view kContainerClassColumnName = u"S3613";
constexpr std::u16string_view kLongValueName = u"LV";

bool IsTableRecord(const CatalogEntry& entry) {
    return entry.rootMarker == kTableRecordMarker;
}

}  // namespace

void ResolveSchema(ProcessingContext& context) {
    SchemaIds& schema = context.store.schema;
    const std::vector<CatalogEntry>& catalog = context.store.catalog;

    for (const CatalogEntry& entry : catalog) {
        if (context.stop.requested()) {
            return;
        }
        if (entry.name == kMsgTableName && IsTableRecord(entry) && schema.msgTableId == 0) {
            schema.msgTableId = entry.id;
            schema.msgTableObjectId = entry.tableObjectId;
        }
        if (entry.name == kMailboxTableName) {
            if (!IsTableRecord(entry)) {
                continue;
            }
            if (schema.mailboxTableId == 0) {
                schema.mailboxTableId = entry.tableObjectId;
            }
        }
        if (IsTableRecord(entry) && entry.name == kFoldersTableName && schema.foldersTableId == 0) {
            schema.foldersTableId = entry.tableObjectId;
        }
    }

    for (const CatalogEntry& entry : catalog) {
        if (context.stop.requested()) {
            return;
        }
        if (entry.tableObjectId == schema.foldersTableId &&
            entry.name == kContainerClassColumnName && schema.containerClassColumn == 0) {
            schema.containerClassColumn = entry.id;
        }
        if (entry.tableObjectId == schema.msgTableId) {
            for (size_t c = 0; c < kMessageColumnCount; ++c) {
                if (entry.name == kMessageColumnNames[c]) {
                    schema.messageColumns[c] = entry.id;
                }
            }
            if (entry.name == kLongValueName && schema.msgLongValueId == 0) {
                schema.msgLongValueId = entry.id;
            }
        }
    }

    if (schema.msgTableId == 0) {
        schema.msgTableId = kDefaultMsgTableId;
    }
    if (schema.foldersTableId == 0) {
        schema.foldersTableId = kDefaultFoldersTableId;
    }
    if (schema.mailboxTableId == 0) {
        schema.mailboxTableId = kDefaultMailboxTableId;
    }
}

}  // namespace velmor
