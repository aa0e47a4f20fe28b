#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "export/export_record.h"
#include "export/pst/node_database.h"
#include "export/pst/table_context.h"

namespace velmor::pst {

// One mailbox as a personal-folders file: the message store named after the mailbox, the
// root folder with the search folders, "Top of Personal Folders" with "Deleted Items", and
// the exported folders below it. Items are written as they come; a folder's contents table
// is kept until the folder is closed; the folders themselves and their hierarchy tables are
// written by Commit. Nothing is left under a name unless Commit succeeds.
class PstMailboxFile {
public:
    PstMailboxFile(std::filesystem::path directory, const EdbFile* database,
                   std::u16string displayName);

    // Creates the file; false with a reason in error().
    bool Open();
    // The folder that holds the exported ones.
    static uint32_t TopFolder();
    // The file's "Deleted Items", below the top folder.
    static uint32_t Wastebasket();
    // A new folder below parent; its id. containerClass may be empty.
    uint32_t AddFolder(uint32_t parent, const std::u16string& name,
                       const std::u16string& containerClass);
    // Writes the item of a row into folder; false with a reason in error().
    bool AddItem(uint32_t folder, const ExportRecord& record);
    // Writes the folder's contents table: the items added so far are all it holds.
    bool CloseFolder(uint32_t folder);
    // Writes what remains and names the file name (or "name (2)"...) in the directory.
    std::optional<std::filesystem::path> Commit(const std::string& name);

    const std::string& error() const;

private:
    struct Folder {
        uint32_t parent = 0;
        std::u16string name;
        std::u16string containerClass;
        uint32_t items = 0;
        uint32_t unread = 0;
        std::vector<uint32_t> children;
        std::unique_ptr<TableContext> contents;
        bool contentsWritten = false;
    };

    Folder& NewFolder(uint32_t nid, uint32_t parent, const std::u16string& name);
    static PropertyList FolderProperties(const Folder& folder);
    bool WriteFolder(uint32_t nid, const Folder& folder);
    bool WriteStore();
    bool WriteTemplates();
    Bytes EntryId(uint32_t nid) const;
    Bytes SearchKey(uint32_t nid) const;

    NodeDatabase database_;
    std::u16string displayName_;
    Bytes storeKey_;
    uint64_t exportTime_;
    std::unordered_map<uint32_t, Folder> folders_;
    std::vector<uint32_t> folderOrder_;
    uint32_t nextFolderIndex_;
    uint32_t nextMessageIndex_;
    std::string error_;
};

// The name of the file of a mailbox shown as displayName: a safe file name and ".pst".
std::string PstFileName(const std::u16string& displayName);

}  // namespace velmor::pst
