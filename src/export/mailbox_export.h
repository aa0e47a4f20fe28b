#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>

#include "browse/folder_tree.h"
#include "export/folder_exporter.h"

namespace velmor::pst {
class PstMailboxFile;
}

namespace velmor {

// Exports folders of one mailbox's folder tree below an output directory: each folder into
// the directory of its tree path below the mailbox's root item, one safe, unique directory
// per tree item, created when the first folder that needs it is exported. With the PST
// format the mailbox also gets one personal-folders file in the output directory, its
// folders in the same tree below "Top of Personal Folders", except that the mailbox's "Top
// of Information Store" is that folder itself and its "Deleted Items" the file's own.
class MailboxExport {
public:
    MailboxExport(ProcessingContext& context, const FolderTree& tree,
                  std::filesystem::path outputDirectory, ExportOptions options);
    ~MailboxExport();

    // Creates the output directory when missing and checks that files can be made there and
    // that it is not the database; false with a reason in error.
    bool Prepare(std::string& error);

    // Exports the folder of one tree item; the root item's folder goes into the output
    // directory itself. A folder that fails or stops leaves no empty directory of its own.
    FolderExportResult Export(TreeItem item);

    // Completes and names the mailbox's personal-folders file once every folder is exported;
    // its path, or nothing with a reason in error. Without a call, no file is left.
    std::optional<std::filesystem::path> FinishPst(std::string& error);

    const std::filesystem::path& outputDirectory() const { return outputDirectory_; }

private:
    std::optional<std::filesystem::path> DirectoryOf(TreeItem item, std::string& error);
    std::u16string FolderName(TreeItem item) const;
    uint32_t PstFolderOf(TreeItem item);
    // Removes the directory made for the item when nothing is in it.
    void RemoveIfEmpty(TreeItem item);

    ProcessingContext& context_;
    const FolderTree& tree_;
    std::filesystem::path outputDirectory_;
    ExportOptions options_;
    std::unordered_map<TreeItem, std::filesystem::path> directories_;
    // The folded names of the directories made, by parent directory.
    std::map<std::filesystem::path, std::set<std::string>> namesMade_;
    std::unique_ptr<pst::PstMailboxFile> pst_;
    std::u16string pstName_;
    std::unordered_map<TreeItem, uint32_t> pstFolders_;
    bool mailboxTopMapped_ = false;
    bool wastebasketMapped_ = false;
};

}  // namespace velmor
