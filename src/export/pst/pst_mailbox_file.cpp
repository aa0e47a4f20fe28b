#include "export/pst/pst_mailbox_file.h"

#include <chrono>
#include <random>

#include "export/pst/attachment_objects.h"
#include "export/pst/message_properties.h"
#include "export/pst/named_properties.h"
#include "export/pst/property_context.h"
#include "export/pst/property_ids.h"
#include "export/pst/pst_layout.h"
#include "export/pst/table_columns.h"
#include "export/safe_file_name.h"
#include "items/file_time.h"

namespace velmor::pst {

namespace {

constexpr size_t kStoreKeySize = 16;
constexpr size_t kSearchKeyStoreBytes = 12;
constexpr uint32_t kNoParent = 0;

Bytes RandomStoreKey() {
    std::random_device source;
    Bytes key;
    while (key.size() < kStoreKeySize) {
        Put32(key, source());
    }
    return key;
}

uint64_t FileTimeNow() {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
        std::chrono::system_clock::now().time_since_epoch());
    return kUnixEpochFileTime + static_cast<uint64_t>(seconds.count()) * kFileTimeStepsPerSecond;
}

// The empty nodes the search machinery keeps its queues in.
constexpr uint32_t kEmptyInternalNodes[] = {kNidSearchManagementQueue, kNidSearchActivityList,
                                            kNidSearchDomainObject};

}  // namespace

PstMailboxFile::PstMailboxFile(std::filesystem::path directory, const EdbFile* database,
                               std::u16string displayName)
    : database_(std::move(directory), database),
      displayName_(std::move(displayName)),
      storeKey_(RandomStoreKey()),
      exportTime_(FileTimeNow()),
      nextFolderIndex_(kFirstFolderIndex),
      nextMessageIndex_(kFirstMessageIndex) {}

const std::string& PstMailboxFile::error() const {
    return error_.empty() ? database_.error() : error_;
}

uint32_t PstMailboxFile::TopFolder() {
    return kNidIpmSubtree;
}

uint32_t PstMailboxFile::Wastebasket() {
    return kNidDeletedItems;
}

bool PstMailboxFile::Open() {
    if (!database_.Open()) {
        return false;
    }
    NewFolder(kNidRootFolder, kNidRootFolder, u"");
    NewFolder(kNidIpmSubtree, kNidRootFolder, u"Top of Personal Folders");
    NewFolder(kNidSearchRoot, kNidRootFolder, u"Search Root");
    NewFolder(kNidSpamSearchFolder, kNidRootFolder, u"SPAM Search Folder 2");
    NewFolder(kNidDeletedItems, kNidIpmSubtree, u"Deleted Items").containerClass = u"IPF.Note";
    return true;
}

PstMailboxFile::Folder& PstMailboxFile::NewFolder(uint32_t nid, uint32_t parent,
                                                  const std::u16string& name) {
    Folder& folder = folders_[nid];
    folder.parent = parent;
    folder.name = name;
    if (parent != nid) {
        folders_[parent].children.push_back(nid);
    }
    folderOrder_.push_back(nid);
    return folder;
}

uint32_t PstMailboxFile::AddFolder(uint32_t parent, const std::u16string& name,
                                   const std::u16string& containerClass) {
    const uint32_t nid = MakeNid(kNidTypeNormalFolder, nextFolderIndex_++);
    NewFolder(nid, parent, name).containerClass = containerClass;
    return nid;
}

bool PstMailboxFile::AddItem(uint32_t folderNid, const ExportRecord& record) {
    Folder& folder = folders_.at(folderNid);
    const uint32_t nid = MakeNid(kNidTypeNormalMessage, nextMessageIndex_++);
    // A mail with its original from the streaming file carries that original's attachments.
    const std::vector<MailAttachment> attachments = record.originalMime
                                                        ? ReadMailAttachments(*record.originalMime)
                                                        : std::vector<MailAttachment>{};
    PropertyList properties = MessageProperties(record, exportTime_, attachments);
    properties.SetBinary(prop::kSearchKey, SearchKey(nid));
    NodeContent content = BuildPropertyContext(properties);
    AddAttachmentObjects(content, attachments);
    // Every message has its recipient table, empty when the row names nobody.
    TableContext recipients(RecipientTableColumns());
    for (const PropertyList& row : RecipientRows(record)) {
        recipients.AddRow(static_cast<uint32_t>(recipients.rows()), row);
    }
    content.subnodes.push_back({kNidRecipientTable, recipients.Build()});
    if (!database_.AddNode(nid, folderNid, content)) {
        return false;
    }
    if (!folder.contents) {
        folder.contents = std::make_unique<TableContext>(ContentsTableColumns());
    }
    folder.contents->AddRow(nid, properties);
    if (folder.contents->full()) {
        error_ = "the folder has more items than one PST folder holds";
        return false;
    }
    ++folder.items;
    if (!record.details.read.value_or(true)) {
        ++folder.unread;
    }
    return true;
}

bool PstMailboxFile::CloseFolder(uint32_t folderNid) {
    Folder& folder = folders_.at(folderNid);
    if (folder.contentsWritten) {
        return true;
    }
    TableContext empty(ContentsTableColumns());
    TableContext& contents = folder.contents ? *folder.contents : empty;
    folder.contentsWritten = true;
    const bool written = database_.AddNode(FolderTable(folderNid, kNidTypeContentsTable), kNoParent,
                                           contents.Build());
    folder.contents.reset();
    return written;
}

// What a folder's properties and its row in its parent's hierarchy table say of it.
PropertyList PstMailboxFile::FolderProperties(const Folder& folder) {
    using namespace prop;
    PropertyList properties;
    properties.SetString(kDisplayName, folder.name);
    properties.SetInt32(kContentCount, folder.items);
    properties.SetInt32(kContentUnreadCount, folder.unread);
    properties.SetBoolean(kSubfolders, !folder.children.empty());
    if (!folder.containerClass.empty()) {
        properties.SetString(kContainerClass, folder.containerClass);
    }
    return properties;
}

// A folder: its properties, its hierarchy table (a row per child folder), its contents
// table when not written yet, and an empty table of associated items.
bool PstMailboxFile::WriteFolder(uint32_t nid, const Folder& folder) {
    TableContext hierarchy(HierarchyTableColumns());
    for (uint32_t child : folder.children) {
        hierarchy.AddRow(child, FolderProperties(folders_.at(child)));
    }
    TableContext associated(AssociatedContentsTableColumns());
    return database_.AddNode(nid, folder.parent, BuildPropertyContext(FolderProperties(folder))) &&
           database_.AddNode(FolderTable(nid, kNidTypeHierarchyTable), kNoParent,
                             hierarchy.Build()) &&
           database_.AddNode(FolderTable(nid, kNidTypeAssocContentsTable), kNoParent,
                             associated.Build()) &&
           CloseFolder(nid);
}

// A key of the item's own: the store's random key with the item's node id in its last bytes.
Bytes PstMailboxFile::SearchKey(uint32_t nid) const {
    Bytes key(storeKey_.begin(), storeKey_.begin() + kSearchKeyStoreBytes);
    Put32(key, nid);
    return key;
}

Bytes PstMailboxFile::EntryId(uint32_t nid) const {
    Bytes id;
    Put32(id, 0);
    PutBytes(id, storeKey_);
    Put32(id, nid);
    return id;
}

bool PstMailboxFile::WriteStore() {
    using namespace prop;
    PropertyList store;
    store.SetBinary(kRecordKey, storeKey_);
    store.SetString(kDisplayName, displayName_);
    store.SetBinary(kIpmSubtreeEntryId, EntryId(kNidIpmSubtree));
    store.SetBinary(kIpmWastebasketEntryId, EntryId(kNidDeletedItems));
    store.SetBinary(kFinderEntryId, EntryId(kNidSearchRoot));
    store.SetInt32(kValidFolderMask, kValidFolders);
    return database_.AddNode(kNidMessageStore, kNoParent, BuildPropertyContext(store)) &&
           database_.AddNode(kNidNameToIdMap, kNoParent,
                             BuildPropertyContext(NameToIdMapProperties()));
}

// The empty tables new folders and messages are made from, and the empty search queues.
bool PstMailboxFile::WriteTemplates() {
    const std::pair<uint32_t, const std::vector<uint32_t>*> tables[] = {
        {kNidHierarchyTableTemplate, &HierarchyTableColumns()},
        {kNidContentsTableTemplate, &ContentsTableColumns()},
        {kNidAssocContentsTableTemplate, &AssociatedContentsTableColumns()},
        {kNidSearchContentsTableTemplate, &SearchContentsTableColumns()},
        {kNidAttachmentTable, &AttachmentTableColumns()},
        {kNidRecipientTable, &RecipientTableColumns()},
    };
    for (const auto& [nid, columns] : tables) {
        TableContext table(*columns);
        if (!database_.AddNode(nid, kNoParent, table.Build())) {
            return false;
        }
    }
    PropertyList emptyFolder;
    if (!database_.AddNode(kNidNormalFolderTemplate, kNoParent,
                           BuildPropertyContext(emptyFolder)) ||
        !database_.AddNode(kNidSearchFolderTemplate, kNoParent,
                           BuildPropertyContext(emptyFolder))) {
        return false;
    }
    for (uint32_t nid : kEmptyInternalNodes) {
        if (!database_.AddNode(nid, kNoParent, NodeContent{})) {
            return false;
        }
    }
    return true;
}

std::optional<std::filesystem::path> PstMailboxFile::Commit(const std::string& name) {
    if (!error_.empty() || !WriteStore() || !WriteTemplates()) {
        return std::nullopt;
    }
    for (uint32_t nid : folderOrder_) {
        if (!WriteFolder(nid, folders_.at(nid))) {
            return std::nullopt;
        }
    }
    return database_.Commit(name);
}

std::string PstFileName(const std::u16string& displayName) {
    constexpr char kExtension[] = ".pst";
    return SafeFileName(displayName, kMaxComponentBytes - sizeof(kExtension)) + kExtension;
}

}  // namespace velmor::pst
