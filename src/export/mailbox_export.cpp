#include "export/mailbox_export.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "browse/folder_classification.h"
#include "browse/tree_item_path.h"
#include "export/pst/message_properties.h"
#include "export/pst/pst_mailbox_file.h"
#include "export/safe_file_name.h"

namespace velmor {

MailboxExport::MailboxExport(ProcessingContext& context, const FolderTree& tree,
                             std::filesystem::path outputDirectory, ExportOptions options)
    : context_(context),
      tree_(tree),
      outputDirectory_(std::move(outputDirectory)),
      options_(std::move(options)) {}

MailboxExport::~MailboxExport() = default;

bool MailboxExport::Prepare(std::string& error) {
    const std::string where = outputDirectory_.string();
    if (context_.file.HoldsFile(outputDirectory_)) {
        error = where + " is the open database";
        return false;
    }
    std::error_code created;
    std::filesystem::create_directories(outputDirectory_, created);
    std::error_code checked;
    if (!std::filesystem::is_directory(outputDirectory_, checked)) {
        // The creation's own reason comes first: the check only finds nothing there.
        const std::error_code& code = created ? created : checked;
        error = "cannot create the directory " + where +
                (code ? ": " + code.message() : ": a file has that name");
        return false;
    }
    if (::access(outputDirectory_.c_str(), W_OK | X_OK) != 0) {
        error = "cannot write to " + where + ": " + std::strerror(errno);
        return false;
    }
    if (options_.formats.pst) {
        // The tree holds one mailbox: its root item's label names the file.
        const auto roots = tree_.Children(kNoTreeItem);
        pstName_ = roots.empty() ? u"Mailbox" : tree_.Text(roots.front());
        pst_ = std::make_unique<pst::PstMailboxFile>(outputDirectory_, &context_.file, pstName_);
        if (!pst_->Open()) {
            error = pst_->error();
            pst_.reset();
            return false;
        }
    }
    return true;
}

namespace {

constexpr char16_t kNoName[] = u"(no name)";
// The mailbox's folders that the file has folders of its own for.
constexpr char16_t kMailboxTop[] = u"Top of Information Store";
constexpr char16_t kMailboxWastebasket[] = u"Deleted Items";

// A name of nothing but blanks and control characters shows as no name at all.
bool IsNameless(const std::u16string& name) {
    return std::all_of(name.begin(), name.end(),
                       [](char16_t c) { return c <= u' ' || c == u'\x7F'; });
}

}  // namespace

// A folder whose recovered name is empty or blank is "(no name)", numbered among its
// nameless siblings: "(no name) (2)" for the second.
std::u16string MailboxExport::FolderName(TreeItem item) const {
    std::u16string name = tree_.Text(item);
    if (!IsNameless(name)) {
        return name;
    }
    size_t number = 0;
    for (TreeItem sibling : tree_.Children(tree_.Parent(item))) {
        number += IsNameless(tree_.Text(sibling)) ? 1 : 0;
        if (sibling == item) {
            break;
        }
    }
    name = kNoName;
    if (number > 1) {
        const std::string digits = std::to_string(number);
        name += u" (" + std::u16string(digits.begin(), digits.end()) + u")";
    }
    return name;
}

// The file's folder for a tree item, made with its parents when first needed. The mailbox's
// root item and its "Top of Information Store" are the file's top folder, and that folder's
// "Deleted Items" is the file's wastebasket: the file shows the mailbox's folders directly
// below its top, with one wastebasket.
uint32_t MailboxExport::PstFolderOf(TreeItem item) {
    const TreeItem parent = tree_.Parent(item);
    if (parent == kNoTreeItem) {
        return pst::PstMailboxFile::TopFolder();
    }
    if (auto known = pstFolders_.find(item); known != pstFolders_.end()) {
        return known->second;
    }
    const std::u16string name = FolderName(item);
    const uint32_t parentFolder = PstFolderOf(parent);
    const bool belowRoot = tree_.Parent(parent) == kNoTreeItem;
    uint32_t folder = 0;
    if (belowRoot && name == kMailboxTop && !mailboxTopMapped_) {
        mailboxTopMapped_ = true;
        folder = pst::PstMailboxFile::TopFolder();
    } else if (!belowRoot && parentFolder == pst::PstMailboxFile::TopFolder() &&
               name == kMailboxWastebasket && !wastebasketMapped_) {
        wastebasketMapped_ = true;
        folder = pst::PstMailboxFile::Wastebasket();
    } else {
        int kind = kUnclassifiedFolder;
        ClassifyFolder(context_.store.folderViews, item, kind);
        const std::u16string containerClass =
            kind == kUnclassifiedFolder ? u"" : pst::ContainerClass(kind);
        folder = pst_->AddFolder(parentFolder, name, containerClass);
    }
    pstFolders_.emplace(item, folder);
    return folder;
}

std::optional<std::filesystem::path> MailboxExport::FinishPst(std::string& error) {
    if (!pst_) {
        error = "no personal-folders file was begun";
        return std::nullopt;
    }
    auto path = pst_->Commit(pst::PstFileName(pstName_));
    if (!path) {
        error = pst_->error();
    }
    pst_.reset();
    return path;
}

std::optional<std::filesystem::path> MailboxExport::DirectoryOf(TreeItem item, std::string& error) {
    const TreeItem parent = tree_.Parent(item);
    if (parent == kNoTreeItem) {
        return outputDirectory_;
    }
    if (auto known = directories_.find(item); known != directories_.end()) {
        return known->second;
    }
    const auto parentDirectory = DirectoryOf(parent, error);
    if (!parentDirectory) {
        return std::nullopt;
    }
    auto directory = CreateUniqueDirectory(*parentDirectory, FolderName(item), error,
                                           &namesMade_[*parentDirectory]);
    if (directory) {
        directories_.emplace(item, *directory);
    }
    return directory;
}

FolderExportResult MailboxExport::Export(TreeItem item) {
    BrowseSelection selection{TreeItemPath(tree_, item), kUnclassifiedFolder};
    ClassifyFolder(context_.store.folderViews, item, selection.folderKind);
    std::string error;
    const auto directory = options_.formats.WritesFolderFiles()
                               ? DirectoryOf(item, error)
                               : std::optional<std::filesystem::path>(outputDirectory_);
    if (!directory) {
        FolderExportResult failed;
        failed.path = selection.path;
        failed.folderKind = selection.folderKind;
        failed.error = error;
        return failed;
    }
    ExportOptions options = options_;
    if (pst_) {
        options.pst = {pst_.get(), PstFolderOf(item)};
    }
    FolderExportResult result = ExportFolder(context_, selection, *directory, options);
    if (!result.ok()) {
        RemoveIfEmpty(item);
    }
    return result;
}

void MailboxExport::RemoveIfEmpty(TreeItem item) {
    const auto made = directories_.find(item);
    if (made == directories_.end()) {
        return;
    }
    const std::filesystem::path directory = made->second;
    if (::rmdir(directory.c_str()) != 0) {
        return;
    }
    directories_.erase(made);
    namesMade_[directory.parent_path()].erase(FoldedFileName(directory.filename().string()));
}

}  // namespace velmor
